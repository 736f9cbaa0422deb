#pragma once

#include <cstdint>

namespace quarn {

// Item attributes (GetAttributesOf). Ghosted and hidden share their bit.
using SFGAOF = std::uint32_t;
inline constexpr SFGAOF SFGAO_CANCOPY = 0x1;
inline constexpr SFGAOF SFGAO_CANMOVE = 0x2;
inline constexpr SFGAOF SFGAO_CANLINK = 0x4;
inline constexpr SFGAOF SFGAO_CANRENAME = 0x10;
inline constexpr SFGAOF SFGAO_CANDELETE = 0x20;
inline constexpr SFGAOF SFGAO_DROPTARGET = 0x100;
inline constexpr SFGAOF SFGAO_LINK = 0x10000;
inline constexpr SFGAOF SFGAO_SHARE = 0x20000;
inline constexpr SFGAOF SFGAO_READONLY = 0x40000;
inline constexpr SFGAOF SFGAO_GHOSTED = 0x80000;
inline constexpr SFGAOF SFGAO_HIDDEN = 0x80000;
inline constexpr SFGAOF SFGAO_VALIDATE = 0x01000000;
inline constexpr SFGAOF SFGAO_REMOVABLE = 0x02000000;
inline constexpr SFGAOF SFGAO_FILESYSANCESTOR = 0x10000000;
inline constexpr SFGAOF SFGAO_FOLDER = 0x20000000;
inline constexpr SFGAOF SFGAO_FILESYSTEM = 0x40000000;
inline constexpr SFGAOF SFGAO_HASSUBFOLDER = 0x80000000;

// What EnumObjects lists.
using SHCONTF = std::uint32_t;
inline constexpr SHCONTF SHCONTF_FOLDERS = 0x20;
inline constexpr SHCONTF SHCONTF_NONFOLDERS = 0x40;
inline constexpr SHCONTF SHCONTF_INCLUDEHIDDEN = 0x80;

// Display-name kinds (GetDisplayNameOf).
using SHGDNF = std::uint32_t;
inline constexpr SHGDNF SHGDN_NORMAL = 0x0;
inline constexpr SHGDNF SHGDN_INFOLDER = 0x1;
inline constexpr SHGDNF SHGDN_FOREDITING = 0x1000;
inline constexpr SHGDNF SHGDN_FORPARSING = 0x8000;

// Special folders.
inline constexpr int CSIDL_DESKTOP = 0;
inline constexpr int CSIDL_PERSONAL = 5; // documents
inline constexpr int CSIDL_SENDTO = 9;
inline constexpr int CSIDL_BITBUCKET = 10; // trash
inline constexpr int CSIDL_DESKTOPDIRECTORY = 16;
inline constexpr int CSIDL_DRIVES = 17;  // computer
inline constexpr int CSIDL_PROFILE = 40; // home
inline constexpr int CSIDL_NONE = 50;    // a number no special folder has

// What SHGetFileInfo fills.
inline constexpr std::uint32_t SHGFI_SMALLICON = 0x1;
inline constexpr std::uint32_t SHGFI_OPENICON = 0x2;
inline constexpr std::uint32_t SHGFI_PIDL = 0x8;
inline constexpr std::uint32_t SHGFI_DISPLAYNAME = 0x200;
inline constexpr std::uint32_t SHGFI_TYPENAME = 0x400;
inline constexpr std::uint32_t SHGFI_ATTRIBUTES = 0x800;
inline constexpr std::uint32_t SHGFI_SYSICONINDEX = 0x4000; // here: the icon name

// Detail column states.
inline constexpr std::uint32_t SHCOLSTATE_ONBYDEFAULT = 0x10;

// Drive types of volumes.
enum class DriveType : std::uint8_t {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

} // namespace quarn
