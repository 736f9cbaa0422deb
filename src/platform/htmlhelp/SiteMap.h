#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace quarn::htmlhelp {

// One entry of a help file's table of contents (.hhc): its caption, the page it shows
// ("" for a heading without a page) and the entries below it.
struct SiteMapEntry {
    QString name;
    QString local;
    std::vector<SiteMapEntry> children;
};

// Reads the nested lists of "text/sitemap" objects of a contents file.
std::vector<SiteMapEntry> ParseSiteMap(const QByteArray& text);

} // namespace quarn::htmlhelp
