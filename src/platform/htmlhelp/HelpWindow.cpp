#include "platform/htmlhelp/HelpWindow.h"

#include "platform/htmlhelp/SiteMap.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

namespace quarn::htmlhelp {

namespace {
constexpr const char* Scheme = "chm";
constexpr int PathRole = Qt::UserRole;

bool IsWebLink(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "ftp";
}

void AddEntries(QTreeWidgetItem* parent, QTreeWidget* tree,
                const std::vector<SiteMapEntry>& entries, const QUrl& base) {
    const QStyle* style = tree->style();
    for (const SiteMapEntry& entry : entries) {
        auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, entry.name);
        if (!entry.local.isEmpty()) {
            item->setData(0, PathRole, base.resolved(QUrl(entry.local)));
        }
        item->setIcon(0, style->standardIcon(entry.children.empty() ? QStyle::SP_FileIcon
                                                                    : QStyle::SP_DirIcon));
        AddEntries(item, tree, entry.children, base);
    }
}
} // namespace

QUrl TopicUrl(const ChmArchive& archive, const std::string& topic) {
    QUrl url(QString::fromStdString(topic.empty() ? archive.DefaultTopic() : topic));
    QUrl result;
    result.setScheme(Scheme);
    QString path = url.path();
    result.setPath(path.startsWith('/') ? path : '/' + path);
    result.setFragment(url.fragment());
    return result;
}

std::string ObjectPath(const QUrl& url) {
    return url.path(QUrl::FullyDecoded).toStdString();
}

ChmBrowser::ChmBrowser(const ChmArchive& archive, QWidget* parent)
    : QTextBrowser(parent), archive_(archive) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& link) { FollowLink(link); });
}

QVariant ChmBrowser::loadResource(int, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != Scheme) {
        return {};
    }
    const auto data = archive_.Read(ObjectPath(url));
    return data ? QVariant(*data) : QVariant();
}

void ChmBrowser::FollowLink(const QUrl& link) {
    if (IsWebLink(link)) {
        QDesktopServices::openUrl(link);
        return;
    }
    const QUrl target = source().resolved(link);
    if (target.scheme() == Scheme && archive_.Contains(ObjectPath(target))) {
        setSource(target);
    } else {
        QApplication::beep();
    }
}

HelpWindow::HelpWindow(std::unique_ptr<ChmArchive> archive, std::string filePath)
    : archive_(std::move(archive)), filePath_(std::move(filePath)) {
    setAttribute(Qt::WA_DeleteOnClose);
    auto* splitter = new QSplitter(this);
    contents_ = new QTreeWidget(splitter);
    contents_->header()->hide();
    browser_ = new ChmBrowser(*archive_, splitter);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 600});
    setCentralWidget(splitter);
    BuildToolBar();
    LoadContents();
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url) { PageChanged(url); });
    resize(860, 600);
}

void HelpWindow::BuildToolBar() {
    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const QStyle* s = style();
    QAction* hide = bar->addAction(s->standardIcon(QStyle::SP_FileDialogListView), tr("Hide"));
    connect(hide, &QAction::triggered, this, [this, hide] {
        contents_->setVisible(!contents_->isVisible());
        hide->setText(contents_->isVisible() ? tr("Hide") : tr("Show"));
    });
    QAction* back = bar->addAction(s->standardIcon(QStyle::SP_ArrowBack), tr("Back"));
    QAction* forward = bar->addAction(s->standardIcon(QStyle::SP_ArrowForward), tr("Forward"));
    QAction* home = bar->addAction(s->standardIcon(QStyle::SP_DirHomeIcon), tr("Home"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { ShowTopic({}); });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
}

void HelpWindow::LoadContents() {
    const auto text = archive_->ContentsFile().empty()
                          ? std::nullopt
                          : archive_->Read('/' + archive_->ContentsFile());
    if (!text) {
        contents_->hide();
        return;
    }
    QUrl base;
    base.setScheme(Scheme);
    base.setPath("/");
    AddEntries(nullptr, contents_, ParseSiteMap(*text), base);
    contents_->expandAll();
    const auto open = [this](QTreeWidgetItem* item) {
        const QUrl url = item->data(0, PathRole).toUrl();
        if (url.isValid() && archive_->Contains(ObjectPath(url))) {
            browser_->setSource(url);
        }
    };
    connect(contents_, &QTreeWidget::itemClicked, this, open);
    connect(contents_, &QTreeWidget::itemActivated, this, open);
}

bool HelpWindow::ShowTopic(const std::string& topic) {
    const QUrl url = TopicUrl(*archive_, topic);
    if (!archive_->Contains(ObjectPath(url))) {
        return false;
    }
    browser_->setSource(url);
    return true;
}

void HelpWindow::PageChanged(const QUrl& url) {
    const QString fileTitle = archive_->Title().empty()
                                  ? QString::fromStdString(filePath_).section('/', -1)
                                  : QString::fromStdString(archive_->Title());
    const QString page = browser_->documentTitle();
    setWindowTitle(page.isEmpty() ? fileTitle : fileTitle + " - " + page);
    const QString path = url.path();
    for (QTreeWidgetItemIterator it(contents_); *it != nullptr; ++it) {
        if ((*it)->data(0, PathRole).toUrl().path() == path) {
            contents_->setCurrentItem(*it);
            break;
        }
    }
}

} // namespace quarn::htmlhelp
