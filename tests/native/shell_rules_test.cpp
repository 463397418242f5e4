#include <gtest/gtest.h>

#include "messages.h"
#include "shell_rules.h"

namespace {
using S = ShellAction;
}

// Each row: the action in full-screen before approval, full-screen after,
// the preview before, the preview after.
TEST(RouteShellMessage, Table) {
    const struct {
        unsigned message;
        std::uintptr_t wParam;
        ShellAction actions[4];
    } table[] = {
        {msg::create, 0, {S::Create, S::Create, S::Create, S::Create}},
        {msg::destroy, 0, {S::Destroy, S::Destroy, S::Destroy, S::Destroy}},
        {msg::setText, 0, {S::Swallow, S::Swallow, S::Swallow, S::Swallow}},
        {msg::paint, 0, {S::Paint, S::Default, S::Paint, S::Default}},
        {msg::help, 0, {S::Renderer, S::Renderer, S::Default, S::Default}},
        {msg::contextMenu, 0, {S::Renderer, S::Renderer, S::ToParent, S::ToParent}},
        {msg::keyDown, 0, {S::Renderer, S::Default, S::Renderer, S::Default}},
        {msg::sysKeyDown, 0, {S::Renderer, S::Default, S::Renderer, S::Default}},
        {msg::mouseMove, 0, {S::Renderer, S::Default, S::Renderer, S::Default}},
        {msg::lButtonDown, 0, {S::Renderer, S::Default, S::Renderer, S::Default}},
        {msg::rButtonDown, 0, {S::Renderer, S::Default, S::Renderer, S::Default}},
        {msg::mButtonDown, 0, {S::Renderer, S::Default, S::Renderer, S::Default}},
        {msg::sysCommand, 0xF040, {S::Swallow, S::Swallow, S::Renderer, S::Renderer}},
        {msg::sysCommand, 0xF050, {S::Swallow, S::Swallow, S::Renderer, S::Renderer}},
        {msg::sysCommand, 0xF140, {S::Swallow, S::Swallow, S::Renderer, S::Renderer}},
        {msg::sysCommand, 0xF141, {S::Renderer, S::Renderer, S::Renderer, S::Renderer}},
        {msg::sysCommand, 0xF060, {S::Renderer, S::Renderer, S::Renderer, S::Renderer}},
        {msg::timer, 1, {S::Tick, S::Swallow, S::Tick, S::Swallow}},
        {msg::close, 0, {S::Renderer, S::Renderer, S::Renderer, S::Renderer}},
        {0x0101, 0, {S::Renderer, S::Renderer, S::Renderer, S::Renderer}},
        {msg::verify, 0, {S::Renderer, S::Renderer, S::Renderer, S::Renderer}},
    };
    for (const auto& row : table)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(RouteShellMessage(row.message, row.wParam, i >= 2, i % 2 == 1),
                      row.actions[i])
                << std::hex << row.message << " " << row.wParam << " case " << i;
}
