#include "shell/dragdrop/DragMimeData.h"

#include "namespace/FileClipboard.h"
#include "shell/dragdrop/ShellDataBlocks.h"
#include "shell/dragdrop/ShellDataObject.h"

namespace quarn {

namespace {

QByteArray Bytes(const std::string& block) {
    return QByteArray(block.data(), static_cast<qsizetype>(block.size()));
}

std::string UriList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += FileUri(path) + "\r\n";
    }
    return list;
}

std::optional<std::string> BlockOf(const QMimeData& mime, const char* type) {
    if (!mime.hasFormat(type)) {
        return std::nullopt;
    }
    const QByteArray bytes = mime.data(type);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

TSCDataObjectMimeData::TSCDataObjectMimeData(IDataObject* data) : data_(data) {
    if (const auto block = ReadDataBlock(data, ShellIdListFormat())) {
        setData(ShellIdListMimeType, Bytes(*block));
    }
    if (const auto block = ReadDataBlock(data, CF_HDROP)) {
        if (const auto paths = ParseHDropBlock(*block)) {
            setData(UriListType, Bytes(UriList(*paths)));
        }
    }
}

ComPtr<IDataObject> DataObjectOf(const QMimeData& mime) {
    if (const auto* ours = qobject_cast<const TSCDataObjectMimeData*>(&mime)) {
        return ComPtr<IDataObject>(ours->DataObject());
    }
    std::optional<std::string> hDrop;
    if (const auto uriList = BlockOf(mime, UriListType)) {
        const ClipboardFiles files = ReadClipboardFiles({{UriListType, *uriList}});
        if (!files.paths.empty()) {
            hDrop = BuildHDropBlock(files.paths);
        }
    }
    return MakeCom<TSCShellDataObject>(
        TSCDataBlocks{BlockOf(mime, ShellIdListMimeType), std::move(hDrop)});
}

bool CarriesItems(const QMimeData& mime) {
    return mime.hasFormat(ShellIdListMimeType) || mime.hasFormat(UriListType);
}

} // namespace quarn
