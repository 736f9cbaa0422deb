#pragma once

#include <QDialog>
#include <memory>

namespace quarn {

class TKVBVersion;

// "Version <Major>.<Minor> (Build <Build>)" of a version reader.
QString AboutVersionCaption(const TKVBVersion& version);

// The about box: the program's icon, name and version (read from its own file), with the
// licence topic of the help file and the product's home page. It deletes itself when
// closed. Its controls are found by name: "Panel1" (the white panel), "iIcon", "lProduct",
// "lVersion", "bOK", "bLicense", "bWebsite".
class TfAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfAbout(QWidget* owner = nullptr);
    ~TfAbout() override;

private:
    struct Form;

    void FormCreate();
    void bLicenseClick();
    void bWebsiteClick();

    std::unique_ptr<Form> form_;
};

} // namespace quarn
