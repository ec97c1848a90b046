// Hands out the fuzz input as bytes and raw values; past the end it gives zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class FuzzByteReader {
  public:
    FuzzByteReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    bool Empty() const { return FPos >= FSize; }
    std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
    /// The next sizeof(T) bytes as a T (zeros past the end).
    template <typename T>
    T Raw() {
        std::uint8_t buf[sizeof(T)] = {};
        for (auto& b : buf)
            b = Byte();
        T v;
        std::memcpy(&v, buf, sizeof(T));
        return v;
    }

  private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};
