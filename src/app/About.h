#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quarn {

class TKVBVersion;

// "Version <Major>.<Minor> (Build <Build>)" of a version reader.
QString AboutVersionCaption(const TKVBVersion& version);

// The about box: the program's icon, name and version (read from its own file), with the
// licence topic of the help file and the product's home page. It deletes itself when
// closed.
class TfAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfAbout(QWidget* owner = nullptr);

    QWidget* Panel1 = nullptr; // the white panel
    QLabel* iIcon = nullptr;
    QLabel* lProduct = nullptr;
    QLabel* lVersion = nullptr;
    QPushButton* bOK = nullptr;
    QPushButton* bLicense = nullptr;
    QPushButton* bWebsite = nullptr;
    TKVBVersion* Version1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildForm();
    void FormCreate();
    void bLicenseClick();
    void bWebsiteClick();
    bool FormKeyUp(const QKeyEvent* key);
    void CentreOnScreen();
};

} // namespace quarn
