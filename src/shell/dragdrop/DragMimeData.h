#pragma once

#include "shell/dragdrop/DataTransfer.h"

#include <QMimeData>

namespace quarn {

// Our own type for the "Shell IDList Array" block; the paths travel as text/uri-list too.
inline constexpr char ShellIdListMimeType[] = "application/x-quarn-shell-idlist-array";

// What a drag out of Quarn carries: the data object's ID-list block under our type and its
// paths as a uri-list of their exact bytes, and, for drops inside the process, the object.
class TSCDataObjectMimeData : public QMimeData {
    Q_OBJECT

public:
    explicit TSCDataObjectMimeData(IDataObject* data);
    IDataObject* DataObject() const { return data_.get(); }

private:
    ComPtr<IDataObject> data_;
};

// The data object of a drop: ours when it came from this process, else one over the blocks
// the other program gave (the ID-list block as it came; CF_HDROP from its local file URIs).
ComPtr<IDataObject> DataObjectOf(const QMimeData& mime);
// Whether a drop carries items that a folder can take.
bool CarriesItems(const QMimeData& mime);

} // namespace quarn
