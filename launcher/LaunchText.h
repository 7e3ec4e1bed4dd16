#pragma once
// Fixed-capacity text for the launcher. The launcher links no string or stream library so that
// it stays a few kilobytes: this buffer never allocates and never throws; an append that would
// not fit is refused whole and reported, so a path is never silently cut short.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace halcyra {

class LaunchText {
public:
    // Room for the longest path and command line Windows accepts (32767 characters).
    static constexpr std::size_t kCapacity = 32767;

    LaunchText() = default;
    explicit LaunchText(std::string_view text) { Append(text); }

    bool Append(std::string_view text) {
        if (text.size() > kCapacity - size_) {
            return false;
        }
        for (char c : text) {
            chars_[size_++] = c;
        }
        chars_[size_] = '\0';
        return true;
    }

    bool AppendNumber(std::uint32_t value) {
        char digits[10];
        std::size_t count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        char ordered[10];
        for (std::size_t i = 0; i < count; ++i) {
            ordered[i] = digits[count - 1 - i];
        }
        return Append(std::string_view(ordered, count));
    }

    // Drops trailing characters found in `set` (e.g. the line break that system messages end in).
    void TrimEnd(std::string_view set) {
        while (size_ > 0 && set.find(chars_[size_ - 1]) != std::string_view::npos) {
            --size_;
        }
        chars_[size_] = '\0';
    }

    void Clear() {
        size_ = 0;
        chars_[0] = '\0';
    }

    // For adapters that let the platform write the text: Buffer() has BufferSize() bytes, and
    // SetSize() takes over the first `size` of them.
    char* Buffer() { return chars_.data(); }
    static constexpr std::size_t BufferSize() { return kCapacity + 1; }
    void SetSize(std::size_t size) {
        size_ = size < kCapacity ? size : kCapacity;
        chars_[size_] = '\0';
    }

    std::string_view View() const { return std::string_view(chars_.data(), size_); }
    const char* CStr() const { return chars_.data(); }
    std::size_t Size() const { return size_; }

private:
    std::array<char, kCapacity + 1> chars_{};
    std::size_t size_ = 0;
};

} // namespace halcyra
