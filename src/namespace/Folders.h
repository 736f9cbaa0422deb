#pragma once

#include "namespace/NamespaceFolder.h"

namespace quarn {

// The root: Home, Computer and Trash. Parses absolute paths.
class DesktopFolder final : public NamespaceFolder {
public:
    HRESULT ParseDisplayName(HWND owner, IBindCtx* bindContext, const std::string& name,
                             ULONG* eaten, LPITEMIDLIST* list, SFGAOF* attributes) override;
    HRESULT EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** items) override;
    HRESULT GetAttributesOf(ULONG count, const LPCITEMIDLIST* items, SFGAOF* attributes) override;
    HRESULT GetDisplayNameOf(LPCITEMIDLIST item, SHGDNF flags, STRRET* name) override;

protected:
    std::string Path() const override { return {}; }
    bool IsChild(const Item& item) const override;
    ComPtr<NamespaceFolder> BindChild(const Item& child) const override;
};

// One child per mounted volume.
class ComputerFolder final : public NamespaceFolder {
public:
    HRESULT EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** items) override;

protected:
    std::string Path() const override { return {}; }
    bool IsChild(const Item& item) const override;
    ComPtr<NamespaceFolder> BindChild(const Item& child) const override;
    void Validate() override; // reads the mount table again
};

// A folder of the file system: Home, a volume or any folder below them.
class FileSystemFolder final : public NamespaceFolder {
public:
    explicit FileSystemFolder(std::string path) : path_(std::move(path)) {}
    HRESULT EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** items) override;

protected:
    std::string Path() const override { return path_; }
    bool IsChild(const Item& item) const override;
    ComPtr<NamespaceFolder> BindChild(const Item& child) const override;

private:
    std::string path_;
};

// The home trash, read from its files/ and info/ folders.
class TrashFolder final : public NamespaceFolder {
public:
    HRESULT EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** items) override;

protected:
    std::string Path() const override { return {}; }
    bool IsChild(const Item& item) const override;
    ComPtr<NamespaceFolder> BindChild(const Item& child) const override;
};

} // namespace quarn
