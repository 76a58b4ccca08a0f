// Vardel::Guid: random creation from the OS, and the 8-4-4-4-12 text form.
#include "vardel/guid.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <random>
#include <span>

namespace Vardel {
namespace {

constexpr std::size_t kTextLength = 36;
// Where each byte's two digits and each dash stand in the text.
constexpr std::array<std::size_t, 16> kByteOffsets = {0,  2,  4,  6,  9,  11, 14, 16,
                                                      19, 21, 24, 26, 28, 30, 32, 34};
constexpr std::array<std::size_t, 4> kDashOffsets = {8, 13, 18, 23};

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

bool FillFromGetrandom(std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = getrandom(out.data() + done, out.size() - done, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// For kernels or sandboxes that refuse the getrandom system call.
bool FillFromUrandom(std::span<std::uint8_t> out) {
    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = read(fd, out.data() + done, out.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    close(fd);
    return done == out.size();
}

// Last resort when neither OS source answers: New() has no failure result,
// and a host must still get a unique-looking identifier.
void FillFromRandomDevice(std::span<std::uint8_t> out) {
    std::random_device device;
    for (std::uint8_t& byte : out) {
        byte = static_cast<std::uint8_t>(device());
    }
}

}  // namespace

Guid Guid::New() {
    Guid guid;
    if (!FillFromGetrandom(guid.bytes) && !FillFromUrandom(guid.bytes)) {
        FillFromRandomDevice(guid.bytes);
    }
    guid.bytes[6] = static_cast<std::uint8_t>((guid.bytes[6] & 0x0F) | 0x40);  // version 4
    guid.bytes[8] = static_cast<std::uint8_t>((guid.bytes[8] & 0x3F) | 0x80);  // variant 10xx
    return guid;
}

std::optional<Guid> Guid::Parse(std::wstring_view text) {
    if (text.size() == kTextLength + 2 && text.front() == L'{' && text.back() == L'}') {
        text = text.substr(1, kTextLength);
    }
    if (text.size() != kTextLength) {
        return std::nullopt;
    }
    for (const std::size_t dash : kDashOffsets) {
        if (text[dash] != L'-') {
            return std::nullopt;
        }
    }
    Guid guid;
    for (std::size_t i = 0; i < kByteOffsets.size(); ++i) {
        const int high = HexValue(text[kByteOffsets[i]]);
        const int low = HexValue(text[kByteOffsets[i] + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        guid.bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return guid;
}

std::wstring Guid::ToString() const {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text(kTextLength, L'-');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text[kByteOffsets[i]] = kDigits[bytes[i] >> 4];
        text[kByteOffsets[i] + 1] = kDigits[bytes[i] & 0x0F];
    }
    return text;
}

bool Guid::IsNil() const {
    for (std::uint8_t byte : bytes) {
        if (byte != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace Vardel
