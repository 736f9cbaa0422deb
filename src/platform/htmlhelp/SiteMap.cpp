#include "platform/htmlhelp/SiteMap.h"

#include <QHash>
#include <optional>

namespace quarn::htmlhelp {

namespace {

struct Tag {
    QByteArray name;                       // lower case, "/ul" for a closing tag
    QHash<QByteArray, QString> attributes; // names in lower case
};

QString DecodeEntities(const QByteArray& raw) {
    QString text = QString::fromUtf8(raw);
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&#39;"), QLatin1String("'"));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Walks the tags of an HTML text, skipping comments and the text between tags.
class TagScanner {
public:
    explicit TagScanner(const QByteArray& text) : text_(text) {}

    std::optional<Tag> Next() {
        while ((at_ = text_.indexOf('<', at_)) >= 0) {
            if (text_.mid(at_, 4) == "<!--") {
                const qsizetype end = text_.indexOf("-->", at_);
                at_ = end < 0 ? text_.size() : end + 3;
                continue;
            }
            ++at_;
            Tag tag;
            tag.name = Word().toLower();
            ReadAttributes(tag);
            if (!tag.name.isEmpty()) {
                return tag;
            }
        }
        at_ = text_.size();
        return std::nullopt;
    }

private:
    QByteArray Word() {
        const qsizetype start = at_;
        while (at_ < text_.size() && !IsSpace(text_[at_]) && text_[at_] != '>' &&
               text_[at_] != '=') {
            ++at_;
        }
        return text_.mid(start, at_ - start);
    }

    void SkipSpace() {
        while (at_ < text_.size() && IsSpace(text_[at_])) {
            ++at_;
        }
    }

    QByteArray Value() {
        if (at_ < text_.size() && (text_[at_] == '"' || text_[at_] == '\'')) {
            const char quote = text_[at_++];
            const qsizetype end = text_.indexOf(quote, at_);
            const qsizetype stop = end < 0 ? text_.size() : end;
            const QByteArray value = text_.mid(at_, stop - at_);
            at_ = end < 0 ? text_.size() : end + 1;
            return value;
        }
        return Word();
    }

    void ReadAttributes(Tag& tag) {
        for (;;) {
            SkipSpace();
            if (at_ >= text_.size() || text_[at_] == '>') {
                ++at_;
                return;
            }
            const QByteArray name = Word().toLower();
            SkipSpace();
            QByteArray value;
            if (at_ < text_.size() && text_[at_] == '=') {
                ++at_;
                SkipSpace();
                value = Value();
            } else if (name.isEmpty()) {
                ++at_; // a stray character such as "/" of "<br/>"
            }
            if (!name.isEmpty()) {
                tag.attributes.insert(name, DecodeEntities(value));
            }
        }
    }

    const QByteArray& text_;
    qsizetype at_ = 0;
};

} // namespace

std::vector<SiteMapEntry> ParseSiteMap(const QByteArray& text) {
    std::vector<SiteMapEntry> root;
    // The lists being filled, the innermost last. Only the innermost one grows, so the
    // pointers to the outer ones stay valid.
    std::vector<std::vector<SiteMapEntry>*> open{&root};
    std::optional<SiteMapEntry> entry;
    TagScanner scanner(text);
    while (const auto tag = scanner.Next()) {
        if (tag->name == "ul") {
            // The outermost list is the root; an inner one belongs to the entry before it.
            std::vector<SiteMapEntry>* list = open.back();
            open.push_back(open.size() > 1 && !list->empty() ? &list->back().children : list);
        } else if (tag->name == "/ul" && open.size() > 1) {
            open.pop_back();
        } else if (tag->name == "object" &&
                   tag->attributes.value("type").compare(QLatin1String("text/sitemap"),
                                                         Qt::CaseInsensitive) == 0) {
            entry.emplace();
        } else if (tag->name == "param" && entry) {
            const QString name = tag->attributes.value("name");
            if (name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0) {
                entry->name = tag->attributes.value("value");
            } else if (name.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0) {
                entry->local = tag->attributes.value("value");
            }
        } else if (tag->name == "/object" && entry) {
            if (!entry->name.isEmpty()) {
                open.back()->push_back(std::move(*entry));
            }
            entry.reset();
        }
    }
    return root;
}

} // namespace quarn::htmlhelp
