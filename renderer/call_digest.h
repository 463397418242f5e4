// A 64-bit FNV-1a digest of a stream of OpenGL calls: each call's number and
// the bytes of its arguments, doubles by their bits. Builds that agree on the
// digest made the same calls with the same doubles.
#pragma once

#include <cstddef>
#include <cstdint>

struct CallDigest {
    std::uint64_t value = 14695981039346656037ull;
    std::uint64_t calls = 0;

    template <typename... Args> void Call(unsigned char id, Args... args) {
        ++calls;
        Bytes(&id, 1);
        (Bytes(&args, sizeof args), ...);
    }

  private:
    void Bytes(const void* data, std::size_t size) {
        auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            value = (value ^ p[i]) * 1099511628211ull;
    }
};

enum CallId : unsigned char {
    viewportCall,
    clearCall,
    colourCall,
    beginCall,
    vertexCall,
    endCall,
    flushCall
};
