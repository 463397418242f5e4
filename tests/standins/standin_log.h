// Shared by the test stand-ins for the platform's password modules: files
// beside the module itself are how a test talks to them.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

// A file in the folder of the module this is compiled into.
inline std::string BesideModule(const char* name) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&BesideModule), &module);
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of("\\/") + 1) + name;
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void AppendLine(const std::string& path, const std::string& line) {
    if (FILE* f = std::fopen(path.c_str(), "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

inline std::string Number(const void* handle) {
    return std::to_string(reinterpret_cast<UINT_PTR>(handle));
}
