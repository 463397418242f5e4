// Which keys carry a symbol, read from the XKB keymap that a Wayland
// compositor hands over as text. The key codes of a Wayland keyboard mean
// what its keymap says: a virtual keyboard numbers only the keys it types.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

// The codes (XKB's less 8, as Wayland sends them) of the keys whose first
// symbol in the first group is one of `symbols`.
std::vector<std::uint32_t> KeysWithSymbols(std::string_view keymap,
                                           std::initializer_list<std::string_view> symbols);
