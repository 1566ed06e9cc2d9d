#include "platform/win32/win32_registry.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace veltrano::win32 {

namespace {

// Stored values larger than this are not what Veltrano reads; refusing them bounds memory.
constexpr DWORD kMaxValueBytes = 64 * 1024;

class OpenKey {
public:
    OpenKey(HKEY root, const std::wstring& path, REGSAM access) {
        LSTATUS status = RegOpenKeyExW(root, path.c_str(), 0, access, &key_);
        if (status == ERROR_ACCESS_DENIED && (access & ~KEY_READ) != 0) {
            status = RegOpenKeyExW(root, path.c_str(), 0, access & KEY_READ, &key_);
        }
        if (status != ERROR_SUCCESS) key_ = nullptr;
    }
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::vector<std::uint8_t> utf8Bytes(const std::vector<std::uint8_t>& stored) {
    std::wstring wide(stored.size() / sizeof(wchar_t), L'\0');
    std::copy(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(wide.size() * 2),
              reinterpret_cast<std::uint8_t*>(wide.data()));
    // The NUL (if stored) converts to a NUL byte; everything after a first NUL is kept too,
    // exactly as the value holds it.
    const std::string text = toUtf8(wide);
    return {text.begin(), text.end()};
}

}  // namespace

std::optional<RegistryValue> Win32Registry::read(RegistryRoot root, std::string_view keyPath,
                                                 std::string_view valueName,
                                                 std::uint32_t accessMask) {
    std::wstring widePath;
    std::wstring wideName;
    try {
        widePath = toWide(keyPath);
        wideName = toWide(valueName);
    } catch (...) {
        return std::nullopt;  // a name that is not text names no key
    }
    const OpenKey key(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root))),
                      widePath, static_cast<REGSAM>(accessMask));
    if (!key.get()) return std::nullopt;

    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        size > kMaxValueBytes) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> stored(size);
    if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type,
                         stored.empty() ? nullptr : stored.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    stored.resize(size);
    RegistryValue value;
    value.type = type;
    value.bytes = (type == REG_SZ || type == REG_EXPAND_SZ) ? utf8Bytes(stored) : std::move(stored);
    return value;
}

}  // namespace veltrano::win32
