#include "app/SizeFormat.h"

#include <array>
#include <charconv>
#include <stdexcept>

namespace quarn {

namespace {

constexpr std::uint64_t KiB = 1024;
constexpr std::uint64_t MiB = KiB * 1024;
constexpr std::uint64_t GiB = MiB * 1024;

// "%<width>.<decimals>f" in the C locale.
std::string FixedText(double value, int decimals, int width) {
    std::array<char, 512> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, decimals);
    if (error != std::errc()) {
        throw std::out_of_range("GetSignificantDigits: value out of range.");
    }
    std::string text(buffer.data(), end);
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

} // namespace

std::string GetSignificantDigits(int digits, double value) {
    if (digits < 1 || digits > 16) {
        throw std::out_of_range("GetSignificantDigits: Significant digits out of range.");
    }
    const std::string formatted = FixedText(value, digits, digits);
    const std::string kept = formatted.substr(0, static_cast<std::size_t>(digits) + 1);
    if (kept.back() == '.') {
        return kept.substr(0, kept.size() - 1);
    }
    if (kept.find('.') == std::string::npos) {
        return formatted.substr(0, formatted.find('.'));
    }
    return kept;
}

std::string FormatSize(std::uint64_t count) {
    if (count < 1000) {
        return std::to_string(count) + " bytes";
    }
    const auto in = [count](std::uint64_t unit) {
        return GetSignificantDigits(3, static_cast<double>(count) / static_cast<double>(unit));
    };
    if (count < MiB) {
        return in(KiB) + " KB";
    }
    if (count < GiB) {
        return in(MiB) + " MB";
    }
    return in(GiB) + " GB";
}

} // namespace quarn
