#pragma once

#include "platform/htmlhelp/ChmArchive.h"

#include <QMainWindow>
#include <QTextBrowser>
#include <QUrl>
#include <memory>
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace quarn::htmlhelp {

// The address of an object of the help file ("chm:/options.htm#part") for a topic as the
// programs name it ("/options.htm", "options.htm"; "" for the default topic).
QUrl TopicUrl(const ChmArchive& archive, const std::string& topic);
std::string ObjectPath(const QUrl& url);

// Shows the pages of a compiled help file, loading pages, pictures and style sheets from
// the file itself; links to the web go to the desktop's browser.
class ChmBrowser : public QTextBrowser {
public:
    ChmBrowser(const ChmArchive& archive, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void FollowLink(const QUrl& link);

    const ChmArchive& archive_;
};

// One help window: the table of contents beside the page, with Back, Forward and Home.
// It deletes itself when closed.
class HelpWindow : public QMainWindow {
public:
    HelpWindow(std::unique_ptr<ChmArchive> archive, std::string filePath);

    const std::string& FilePath() const { return filePath_; }
    // Shows a topic of the file; false (and nothing changes) when the file lacks it.
    bool ShowTopic(const std::string& topic);

private:
    void BuildToolBar();
    void LoadContents();
    void PageChanged(const QUrl& url);

    std::unique_ptr<ChmArchive> archive_;
    std::string filePath_;
    ChmBrowser* browser_;
    QTreeWidget* contents_;
};

} // namespace quarn::htmlhelp
