#include "app/settings.h"

#include <cstring>
#include <vector>

namespace {

// The keys opened on the way down to a value; closed innermost first when the walk ends.
class KeyPath {
public:
    KeyPath() = default;
    KeyPath(const KeyPath&) = delete;
    KeyPath& operator=(const KeyPath&) = delete;
    ~KeyPath() { closeAll(); }

    // Opens name below the innermost key (or below root for the first one); false when it
    // cannot be opened, which ends the walk.
    bool open(HKEY root, const char* name) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(innermost(root), name, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        keys_.push_back(key);
        return true;
    }
    HKEY innermost(HKEY root) const { return keys_.empty() ? root : keys_.back(); }
    bool empty() const { return keys_.empty(); }
    // Closes the keys innermost first; answers the result of closing the outermost one.
    LONG closeAll() {
        LONG result = ERROR_SUCCESS;
        while (!keys_.empty()) {
            result = RegCloseKey(keys_.back());
            keys_.pop_back();
        }
        return result;
    }

private:
    std::vector<HKEY> keys_;
};

// The registry's limit for one value is far above any DWORD; a larger value does not fit and
// does not count.
constexpr DWORD kValueBufferSize = 10239;

// The DWORD stored under root, if the whole key path opens and the value is a REG_DWORD.
bool readDword(HKEY root, const vek::STRING& vendor, const vek::STRING& application, const vek::STRING& subKey,
               const char* valueName, std::int32_t& result) {
    KeyPath path;
    if (!path.open(root, "SOFTWARE") || !path.open(root, vendor.getText()) ||
        !path.open(root, application.getText()))
        return false;
    if (!subKey.isEmpty() && !path.open(root, subKey.getText()))
        return false;
    std::vector<BYTE> buffer(kValueBufferSize);
    DWORD type = REG_NONE;
    DWORD size = kValueBufferSize;
    const LONG status = RegQueryValueExA(path.innermost(root), valueName, nullptr, &type, buffer.data(), &size);
    if (status != ERROR_SUCCESS || size == 0 || type != REG_DWORD)
        return false;
    DWORD value = 0;
    std::memcpy(&value, buffer.data(), sizeof value);
    result = static_cast<std::int32_t>(value);
    return true;
}

// Creates or opens name below parent with full access; null on failure.
HKEY createKey(HKEY parent, const vek::STRING& name) {
    HKEY key = nullptr;
    char emptyClass[] = "";
    if (RegCreateKeyExA(parent, name.getText(), 0, emptyClass, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

}  // namespace

std::int32_t readRegistryInt(const vek::STRING& vendor, const vek::STRING& application, const vek::STRING& subKey,
                             const char* valueName, std::int32_t defaultValue, bool machineWide) {
    std::int32_t value = 0;
    if (readDword(machineWide ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, vendor, application, subKey, valueName,
                  value))
        return value;
    return machineWide ? defaultValue
                       : readRegistryInt(vendor, application, subKey, valueName, defaultValue, true);
}

LONG storeDepth(const vek::STRING& vendor, const vek::STRING& application, std::int32_t depth) {
    HKEY software = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE", 0, KEY_CREATE_SUB_KEY, &software);
    if (opened != ERROR_SUCCESS)
        return opened;
    if (HKEY vendorKey = createKey(software, vendor)) {
        if (HKEY applicationKey = createKey(vendorKey, application)) {
            const DWORD value = static_cast<DWORD>(depth);
            RegSetValueExA(applicationKey, "depth", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value);
            RegCloseKey(applicationKey);
        }
        RegCloseKey(vendorKey);
    }
    return RegCloseKey(software);
}
