#pragma once

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QWidget;

namespace quarn {
class TKVBEllipsisLabel;
} // namespace quarn

namespace quarn::clu {

// The controls of the utility's window, laid out on it: the notebook with the "Password"
// and "Progress" pages. Each control carries its name as its object name.
struct MainForm {
    explicit MainForm(QWidget* window);

    // Shows page; the page not shown takes no room, so the window's minimum is the shown
    // page's.
    void ShowPage(QWidget* page);

    QStackedWidget* Notebook = nullptr;

    QWidget* PasswordPage = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* ePassword = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* eConfirm = nullptr;
    QPushButton* bOK = nullptr;
    QPushButton* bCancel = nullptr;

    QWidget* ProgressPage = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* lType = nullptr;
    TKVBEllipsisLabel* lInFile = nullptr;
    QLabel* lNew = nullptr;
    TKVBEllipsisLabel* lOutFile = nullptr;
    QProgressBar* pbCurrent = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* lOverall = nullptr;
    QProgressBar* pbOverall = nullptr;
    QPushButton* Button1 = nullptr;

private:
    void MakePasswordPage();
    void MakeProgressPage();
};

} // namespace quarn::clu
