#include "platform/Registry.h"

#include "platform/PosixFile.h"
#include "platform/ProgramFile.h"
#include "platform/RegistryDocument.h"
#include "platform/RegistryStore.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace quarn {

namespace {
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid())) {
            home = user->pw_dir;
        }
    }
    return home;
}

std::string WithoutTrailingSlash(std::string folder) {
    if (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

std::string ProgramFolder() {
    const std::string program = ProgramFilePath();
    return program.empty() ? std::string() : WithoutTrailingSlash(FolderPart(program));
}

RegistryStore UserStore(RegistryRoot root) {
    return RegistryStore(RegistryFolder(), root);
}

// HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE read through to what setup installed.
std::optional<RegistryStore> SystemStore(RegistryRoot root) {
    if (root == RegistryRoot::CurrentUser) {
        return std::nullopt;
    }
    const std::string folder = SystemRegistryFolder();
    return folder.empty() ? std::nullopt : std::optional(RegistryStore(folder, root));
}

// An unreadable system layer counts as an absent one.
RegistryDocument LoadSystem(const RegistryStore& store) {
    try {
        return store.Load();
    } catch (const ERegistryException&) {
        return {};
    }
}

std::string Quoted(const std::string& name) {
    return "'" + name + "'";
}
} // namespace

std::string RegistryFolder() {
    const std::string chosen = Environment("QUARN_REGISTRY_DIR");
    if (!chosen.empty()) {
        return WithoutTrailingSlash(chosen);
    }
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty() || config.front() != '/') {
        config = HomeFolder() + "/.config";
    }
    return WithoutTrailingSlash(config) + "/Ostrel/registry";
}

std::string SystemRegistryFolder() {
    if (const char* chosen = std::getenv("QUARN_SYSTEM_REGISTRY_DIR")) {
        return WithoutTrailingSlash(chosen);
    }
    const std::string programs = ProgramFolder();
    if (programs.empty()) {
        return {};
    }
    return FolderPart(programs) + "share/quarn/registry";
}

struct TRegistry::State {
    RegistryRoot Root = RegistryRoot::CurrentUser;
    std::optional<RegistryKeyPath> Key;
    bool Writable = false;

    bool KeyIn(const RegistryKeyPath& path) const {
        if (UserStore(Root).Load().HasKey(path)) {
            return true;
        }
        const auto system = SystemStore(Root);
        return system && LoadSystem(*system).HasKey(path);
    }

    // The open key's value: from the user's file, or from the system layer when the user's
    // file has no section of the key.
    std::optional<RegistryValue> Find(const std::string& name) const {
        if (!Key) {
            throw ERegistryException("No registry key is open to read " + Quoted(name));
        }
        return FindIn(UserStore(Root).Load(), name);
    }

    std::optional<RegistryValue> FindIn(const RegistryDocument& user,
                                        const std::string& name) const {
        if (const auto system = SystemStore(Root); system && !user.HasSection(*Key)) {
            const RegistryDocument layer = LoadSystem(*system);
            if (layer.HasSection(*Key)) {
                return layer.FindValue(*Key, name);
            }
        }
        return user.FindValue(*Key, name);
    }

    // Before the user's file gets a section of a key that only the system layer has, the
    // section takes the layer's values, so that the key reads the same afterwards.
    void CopySystemSection(RegistryDocument& user) const {
        const auto system = SystemStore(Root);
        if (!system || user.HasSection(*Key)) {
            return;
        }
        for (const RegistryValue& value : LoadSystem(*system).Values(*Key)) {
            user.SetValue(*Key, value);
        }
    }

    void Write(const RegistryValue& value) {
        WriteFrom(value.Name, [&](const RegistryDocument&) { return value; });
    }

    // One locked step: value is made from the user's file as it is under the lock.
    void WriteFrom(const std::string& name,
                   const std::function<RegistryValue(const RegistryDocument&)>& value) {
        if (!Key || !Writable) {
            throw ERegistryException("Failed to set data for " + Quoted(name) +
                                     ": the key is not open for writing");
        }
        try {
            UserStore(Root).Update([&](RegistryDocument& user) {
                const RegistryValue changed = value(user);
                CopySystemSection(user);
                user.SetValue(*Key, changed);
            });
        } catch (const ERegistryException& error) {
            throw ERegistryException("Failed to set data for " + Quoted(name) + ": " +
                                     error.what());
        }
    }

    RegistryValue Require(const std::string& name, RegistryDataType type) const {
        const auto value = Find(name);
        if (!value) {
            throw ERegistryException("Failed to get data for " + Quoted(name));
        }
        if (value->Type != type) {
            throw ERegistryException("Invalid data type for " + Quoted(name));
        }
        return *value;
    }
};

TRegistry::TRegistry(RegistryRoot root) : state_(std::make_unique<State>()) {
    state_->Root = root;
}

TRegistry::~TRegistry() = default;

RegistryRoot TRegistry::RootKey() const {
    return state_->Root;
}

void TRegistry::SetRootKey(RegistryRoot root) {
    CloseKey();
    state_->Root = root;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    CloseKey();
    try {
        const RegistryKeyPath path = SplitKeyPath(key);
        const RegistryStore user = UserStore(state_->Root);
        if (!user.CanWrite()) {
            return false;
        }
        if (!state_->KeyIn(path)) {
            if (!canCreate) {
                return false;
            }
            user.Update([&](RegistryDocument& document) { document.AddKey(path); });
        }
        state_->Key = path;
        state_->Writable = true;
        return true;
    } catch (const ERegistryException&) {
        return false;
    }
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    CloseKey();
    const RegistryKeyPath path = SplitKeyPath(key);
    if (!KeyExists(key)) {
        return false;
    }
    state_->Key = path;
    return true;
}

bool TRegistry::KeyExists(const std::string& key) const {
    try {
        return state_->KeyIn(SplitKeyPath(key));
    } catch (const ERegistryException&) {
        return false;
    }
}

void TRegistry::CloseKey() {
    state_->Key.reset();
    state_->Writable = false;
}

bool TRegistry::HasOpenKey() const {
    return state_->Key.has_value();
}

bool TRegistry::ValueExists(const std::string& name) const {
    try {
        return state_->Find(name).has_value();
    } catch (const ERegistryException&) {
        return false;
    }
}

std::optional<RegistryDataType> TRegistry::GetDataType(const std::string& name) const {
    try {
        const auto value = state_->Find(name);
        return value ? std::optional(value->Type) : std::nullopt;
    } catch (const ERegistryException&) {
        return std::nullopt;
    }
}

namespace {
std::string StringOf(const std::optional<RegistryValue>& value, const std::string& name) {
    if (!value) {
        return {};
    }
    if (value->Type != RegistryDataType::String) {
        throw ERegistryException("Invalid data type for " + Quoted(name));
    }
    return value->Bytes;
}

bool EndsLine(const std::string& text) {
    return text.empty() || text.back() == '\n' || text.back() == '\r';
}
} // namespace

std::string TRegistry::ReadString(const std::string& name) const {
    return StringOf(state_->Find(name), name);
}

std::int32_t TRegistry::ReadInteger(const std::string& name) const {
    return static_cast<std::int32_t>(state_->Require(name, RegistryDataType::DWord).Number);
}

bool TRegistry::ReadBool(const std::string& name) const {
    return ReadInteger(name) != 0;
}

std::vector<std::uint8_t> TRegistry::ReadBinaryData(const std::string& name) const {
    const std::string bytes = state_->Require(name, RegistryDataType::Binary).Bytes;
    return {bytes.begin(), bytes.end()};
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    state_->Write({name, RegistryDataType::String, value, 0});
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value) {
    state_->Write({name, RegistryDataType::DWord, {}, static_cast<std::uint32_t>(value)});
}

void TRegistry::WriteBool(const std::string& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteBinaryData(const std::string& name, const std::vector<std::uint8_t>& value) {
    state_->Write({name, RegistryDataType::Binary, std::string(value.begin(), value.end()), 0});
}

void TRegistry::ChangeString(const std::string& name,
                             const std::function<std::string(const std::string&)>& change) {
    state_->WriteFrom(name, [&](const RegistryDocument& user) {
        const std::string before = StringOf(state_->FindIn(user, name), name);
        return RegistryValue{name, RegistryDataType::String, change(before), 0};
    });
}

TRegistry::TakenString TRegistry::TakeString(const std::string& name) {
    std::string taken;
    try {
        ChangeString(name, [&](const std::string& value) {
            taken = value;
            return std::string();
        });
        return {taken, true};
    } catch (const ERegistryException&) {
        // The value could not be emptied: it is read as it stands, for the caller to warn.
        return {ReadString(name), false};
    }
}

void TRegistry::AppendLines(const std::string& name, const std::vector<std::string>& lines) {
    std::string block;
    for (const std::string& line : lines) {
        if (line.find_first_of("\r\n") != std::string::npos) {
            throw ERegistryException("Failed to set data for " + Quoted(name) +
                                     ": a line holds a line break");
        }
        block += line + '\n';
    }
    ChangeString(name, [&](const std::string& value) {
        if (block.empty()) {
            return value;
        }
        return EndsLine(value) ? value + block : value + '\n' + block;
    });
}

bool TRegistry::DeleteValue(const std::string& name) {
    if (!state_->Key || !state_->Writable) {
        return false;
    }
    bool removed = false;
    try {
        UserStore(state_->Root).Update([&](RegistryDocument& user) {
            state_->CopySystemSection(user);
            removed = user.DeleteValue(*state_->Key, name);
        });
    } catch (const ERegistryException&) {
        return false;
    }
    return removed;
}

} // namespace quarn
