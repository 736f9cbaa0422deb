#include "NamespaceTestSupport.h"

#include <gtest/gtest.h>

namespace quarn::test {

ComPtr<IShellFolder> Desktop() {
    ComPtr<IShellFolder> desktop;
    EXPECT_EQ(SHGetDesktopFolder(desktop.Put()), S_OK);
    return desktop;
}

HRESULT TryParse(const std::string& path, PidlPtr& list) {
    LPITEMIDLIST parsed = nullptr;
    const HRESULT hr =
        Desktop()->ParseDisplayName(nullptr, nullptr, path, nullptr, &parsed, nullptr);
    list.reset(parsed);
    return hr;
}

PidlPtr Parse(const std::string& path) {
    PidlPtr list;
    EXPECT_EQ(TryParse(path, list), S_OK) << path;
    return list;
}

ComPtr<IShellFolder> BindFolder(LPCITEMIDLIST absolute) {
    ComPtr<IShellFolder> desktop = Desktop();
    if (!HasItems(absolute)) {
        return desktop;
    }
    ComPtr<IShellFolder> folder;
    void* object = nullptr;
    EXPECT_EQ(desktop->BindToObject(absolute, nullptr, IID_IShellFolder, &object), S_OK);
    return ComPtr<IShellFolder>::Attach(static_cast<IShellFolder*>(object));
}

ComPtr<IShellFolder> BindPath(const std::string& path) {
    return BindFolder(Parse(path).get());
}

std::vector<PidlPtr> Enumerate(IShellFolder* folder, SHCONTF flags) {
    ComPtr<IEnumIDList> enumerator;
    EXPECT_EQ(folder->EnumObjects(nullptr, flags, enumerator.Put()), S_OK);
    std::vector<PidlPtr> items;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (enumerator && enumerator->Next(1, &item, &fetched) == S_OK) {
        items.emplace_back(item);
    }
    return items;
}

std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags) {
    STRRET name;
    EXPECT_EQ(folder->GetDisplayNameOf(item, flags, &name), S_OK);
    EXPECT_EQ(name.uType, STRRET_CSTR);
    return name.cStr;
}

std::vector<std::string> DisplayNames(IShellFolder* folder, const std::vector<PidlPtr>& items,
                                      SHGDNF flags) {
    std::vector<std::string> names;
    for (const auto& item : items) {
        names.push_back(DisplayName(folder, item.get(), flags));
    }
    return names;
}

SFGAOF Attributes(IShellFolder* folder, LPCITEMIDLIST item, SFGAOF mask) {
    SFGAOF attributes = mask;
    EXPECT_EQ(folder->GetAttributesOf(1, &item, &attributes), S_OK);
    return attributes;
}

PidlPtr Child(IShellFolder* folder, const std::string& name, SHCONTF flags) {
    for (auto& item : Enumerate(folder, flags)) {
        if (DisplayName(folder, item.get(), SHGDN_INFOLDER) == name) {
            return std::move(item);
        }
    }
    ADD_FAILURE() << "no child " << name;
    return nullptr;
}

std::vector<std::string> Levels(LPCITEMIDLIST list) {
    std::vector<std::string> levels;
    for (; HasItems(list); list = NextItem(list)) {
        const auto item = FirstItem(list);
        levels.emplace_back(reinterpret_cast<const char*>(item.data()), item.size());
    }
    return levels;
}

PidlPtr LastItem(LPCITEMIDLIST absolute) {
    const auto levels = Levels(absolute);
    return PidlPtr(AllocateList(levels.empty() ? std::string() : levels.back()));
}

} // namespace quarn::test
