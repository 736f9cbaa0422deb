#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quarn {

enum class RegistryRoot { CurrentUser, LocalMachine, ClassesRoot };
enum class RegistryDataType { String, DWord, Binary };

// A failed read (absent or wrongly typed integer, boolean or binary value; wrongly typed
// string) or a failed write.
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A typed hierarchical key/value store in place of the Windows registry: one text file per
// root in the registry folder ($QUARN_REGISTRY_DIR, else $XDG_CONFIG_HOME/Ostrel/registry).
// Key paths use "\" between their parts; key and value names are case-insensitive; the
// empty value name is the key's default value. Every write re-reads the file and changes
// only its own value under an exclusive lock, then replaces the file atomically.
class TRegistry {
public:
    explicit TRegistry(RegistryRoot root = RegistryRoot::CurrentUser);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    RegistryRoot RootKey() const;
    void SetRootKey(RegistryRoot root); // closes the open key

    // Opens for reading and writing; false when the key is missing (and not created) or
    // the root cannot be written.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    bool KeyExists(const std::string& key) const;
    void CloseKey();
    bool HasOpenKey() const;

    bool ValueExists(const std::string& name) const;
    std::optional<RegistryDataType> GetDataType(const std::string& name) const;

    std::string ReadString(const std::string& name) const; // absent: empty text
    std::int32_t ReadInteger(const std::string& name) const;
    bool ReadBool(const std::string& name) const; // stored number not 0
    std::vector<std::uint8_t> ReadBinaryData(const std::string& name) const;

    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, std::int32_t value);
    void WriteBool(const std::string& name, bool value); // REG_DWORD 1 or 0
    void WriteBinaryData(const std::string& name, const std::vector<std::uint8_t>& value);
    bool DeleteValue(const std::string& name);

    // Under the store's exclusive lock: reads the string value (absent: empty text) and
    // writes change's answer in its place, so that no other writer comes in between.
    // Throws as ReadString for a value of another type (nothing is written) and as a write.
    void ChangeString(const std::string& name,
                      const std::function<std::string(const std::string&)>& change);

    // Reads the string value and writes it empty in one locked step. When that step fails
    // the value is read as it stands and Emptied is false; throws as ReadString.
    struct TakenString {
        std::string Value;
        bool Emptied = false;
    };
    TakenString TakeString(const std::string& name);

    // Appends lines to the string value in one locked step, each ending in "\n" (a line
    // break first when the text there does not end in one). Lines must hold no CR or LF.
    void AppendLines(const std::string& name, const std::vector<std::string>& lines);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Closes the registry's open key when it leaves scope.
class RegistryKeyGuard {
public:
    explicit RegistryKeyGuard(TRegistry& registry) : registry_(registry) {}
    ~RegistryKeyGuard() { registry_.CloseKey(); }
    RegistryKeyGuard(const RegistryKeyGuard&) = delete;
    RegistryKeyGuard& operator=(const RegistryKeyGuard&) = delete;

private:
    TRegistry& registry_;
};

// The folder that holds the per-root files.
std::string RegistryFolder();

// The read-only layer installed with the programs, under HKEY_CLASSES_ROOT and
// HKEY_LOCAL_MACHINE: $QUARN_SYSTEM_REGISTRY_DIR when set (empty: no layer), else
// <folder of the running program>/../share/quarn/registry.
std::string SystemRegistryFolder();

} // namespace quarn
