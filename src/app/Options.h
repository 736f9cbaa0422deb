#pragma once

#include <QDialog>
#include <memory>

namespace quarn {

class MainWindowHost;
struct Settings;

// The options dialog: the ten settings on the pages General, Encryption and Wiping. OK checks
// the start-up folder, the hex value of the chosen wipe and the wipe count, in that order, and
// keeps the dialog open after the first refusal, with that field reset and focused. F1 shows
// the help topic "options", the caption's help button the topic of the page shown.
// Controls are found by their names ("PageControl1", "rbFastWipe", "eWipeCount", ...).
class TfOptions : public QDialog {
    Q_OBJECT

public:
    explicit TfOptions(QWidget* owner = nullptr);
    ~TfOptions() override;

    // Shows the settings in the controls.
    void LoadSettings(const Settings& settings);
    // The controls' values after OK (the dialog's input is valid then).
    void StoreSettings(Settings& settings) const;

private:
    struct Form;

    void WMSysCommand();
    void rbFastWipeClick();
    void rbGovernmentWipeClick();
    void cbEncryptNameClick();
    void SpeedButton1Click();
    void bOkClick();
    static bool eFastHexKeyPress(QChar key);
    static bool eGovernmentHexKeyPress(QChar key);
    static bool eWipeCountKeyPress(QChar key);

    bool StartupFolderValid();
    bool HexValueValid();
    bool WipeCountValid();

    std::unique_ptr<Form> form_;
};

// Edit > Options...: the dialog filled from the main window's settings; after OK the settings
// take the dialog's values, are saved, and the tree and list are refreshed.
void Options1Click(MainWindowHost& host);

} // namespace quarn
