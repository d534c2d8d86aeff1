// The chat log view: keeps its items, lays out only what is new, and redraws
// the items of a style when that style changes.
#include "chat/chatlog.h"

#include "net/protocol.h"

#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QUrl>

namespace euchre {

namespace {

// Marks in a character format: which style drew it, and which link it is.
constexpr int kStyleProperty = QTextFormat::UserProperty + 1;
constexpr int kLinkProperty = QTextFormat::UserProperty + 2;

const QString kLinkScheme = QStringLiteral("link");
const QString kPictureScheme = QStringLiteral("smiley");

// The number after "scheme:" in one of our own addresses, or -1.
int numberInUrl(const QUrl& url, const QString& scheme, int limit) {
    if (url.scheme() != scheme) return -1;
    const std::optional<int> n = parseDecimal(url.path().toLatin1());
    return n && *n >= 0 && *n < limit ? *n : -1;
}

QUrl pictureUrl(int index) {
    return QUrl(kPictureScheme + QLatin1Char(':') + QString::number(index));
}

} // namespace

ChatLog::ChatLog(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("mainchat"));
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse |
                            Qt::TextSelectableByKeyboard);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
    prepareDocument();

    connect(this, &QTextBrowser::anchorClicked, this, &ChatLog::linkClicked);
    connect(this, qOverload<const QUrl&>(&QTextBrowser::highlighted), this,
            &ChatLog::linkHighlighted);
}

void ChatLog::prepareDocument() {
    // The log is written only by the program; keeping undo steps of every line
    // and every restyle would grow without bound.
    document()->setUndoRedoEnabled(false);
    document()->setDocumentMargin(5);
}

const ChatStyle& ChatLog::style(int number) const {
    return m_styles[static_cast<size_t>(qBound(0, number, kStyleCount - 1))];
}

void ChatLog::setStyle(int number, const ChatStyle& style) {
    if (number < 0 || number >= kStyleCount) return;
    ChatStyle& s = m_styles[static_cast<size_t>(number)];
    if (s.family == style.family && s.size == style.size && s.colour == style.colour &&
        s.bold == style.bold && s.italic == style.italic && s.underline == style.underline)
        return;
    s = style;
    m_restyled[static_cast<size_t>(number)] = true;
    m_formats[static_cast<size_t>(number)].reset();
}

void ChatLog::setStyleColour(int number, const QColor& colour) {
    ChatStyle s = style(number);
    s.colour = colour;
    setStyle(number, s);
}

void ChatLog::setStyleBold(int number, bool bold) {
    ChatStyle s = style(number);
    s.bold = bold;
    setStyle(number, s);
}

void ChatLog::setStyleSize(int number, int points) {
    ChatStyle s = style(number);
    s.size = qBound(1, points, 200);
    setStyle(number, s);
}

void ChatLog::setPictures(const QList<QImage>& pictures) {
    m_pictures = pictures;
}

void ChatLog::addParagraph(const QString& text, int style) {
    m_paragraphs.append(Paragraph());
    ++m_itemCount;
    if (!text.isEmpty()) addText(text, style);
}

void ChatLog::addText(const QString& text, int style) {
    if (m_paragraphs.isEmpty()) addParagraph(QString(), style);
    Item item;
    item.kind = ItemKind::Text;
    item.style = qBound(0, style, kStyleCount - 1);
    item.text = text;
    m_paragraphs.last().append(item);
    ++m_itemCount;
    m_textChars += text.size();
}

int ChatLog::addLink(const QString& text, int style) {
    if (m_paragraphs.isEmpty()) addParagraph(QString(), style);
    Item item;
    item.kind = ItemKind::Link;
    item.style = qBound(0, style, kStyleCount - 1);
    item.text = text;
    item.link = linkCount();
    m_links.append(text);
    m_spans.append(LinkSpan());
    m_paragraphs.last().append(item);
    ++m_itemCount;
    m_textChars += text.size();
    return item.link;
}

void ChatLog::addPicture(int index) {
    if (m_paragraphs.isEmpty()) addParagraph(QString(), 0);
    Item item;
    item.kind = ItemKind::Picture;
    item.picture = index;
    m_paragraphs.last().append(item);
    ++m_itemCount;
}

qsizetype ChatLog::linkIndex(int number) const {
    const qsizetype index = qsizetype(number) - m_firstLink;
    return index >= 0 && index < m_links.size() ? index : -1;
}

int ChatLog::linkOfMark(int mark) const {
    if (mark < 0 || mark >= kMaxLinks) return -1;
    const int number = m_firstLink + ((mark - m_firstLink % kMaxLinks) + kMaxLinks) % kMaxLinks;
    return linkIndex(number) >= 0 ? number : -1;
}

QString ChatLog::linkText(int number) const {
    const qsizetype index = linkIndex(number);
    return index >= 0 ? m_links[index] : QString();
}

QTextCharFormat ChatLog::textFormat(int number) const {
    const int n = qBound(0, number, kStyleCount - 1);
    std::optional<QTextCharFormat>& made = m_formats[static_cast<size_t>(n)];
    if (made) return *made;
    const ChatStyle& s = style(n);
    QTextCharFormat& f = made.emplace();
    f.setFontFamilies({s.family});
    f.setFontPointSize(s.size);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setForeground(s.colour);
    f.setProperty(kStyleProperty, n);
    return f;
}

QTextCharFormat ChatLog::linkFormat(int number, int link, bool hovered) const {
    QTextCharFormat f = textFormat(number);
    f.setAnchor(true);
    const int mark = link % kMaxLinks;
    f.setAnchorHref(kLinkScheme + QLatin1Char(':') + QString::number(mark));
    f.setProperty(kLinkProperty, mark);
    // The link under the mouse lights up in yellow.
    if (hovered)
        f.setBackground(QColor(255, 255, 0));
    else
        f.setBackground(Qt::NoBrush);
    return f;
}

void ChatLog::insertItem(QTextCursor& cursor, const Item& item) {
    switch (item.kind) {
    case ItemKind::Text:
        cursor.insertText(item.text, textFormat(item.style));
        break;
    case ItemKind::Link: {
        LinkSpan& span = m_spans[linkIndex(item.link)];
        span.position = cursor.position();
        span.length = static_cast<int>(item.text.size());
        span.laidOut = true;
        cursor.insertText(item.text, linkFormat(item.style, item.link, item.link == m_hovered));
        break;
    }
    case ItemKind::Picture: {
        QTextImageFormat f;
        const int index = item.picture >= 0 && item.picture < m_pictures.size() ? item.picture : 0;
        f.setName(pictureUrl(index).toString());
        if (index < m_pictures.size()) {
            f.setWidth(m_pictures[index].width());
            f.setHeight(m_pictures[index].height());
        }
        f.setVerticalAlignment(QTextCharFormat::AlignMiddle);
        cursor.insertImage(f);
        break;
    }
    }
}

void ChatLog::appendWaitingItems() {
    if (m_paragraphs.isEmpty()) return;
    const qsizetype total = m_paragraphs.size();
    if (m_laidParagraphs == total && m_laidItems == m_paragraphs.last().size()) return;

    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    qsizetype p = m_laidParagraphs == 0 ? 0 : m_laidParagraphs - 1;
    qsizetype first = m_laidParagraphs == 0 ? 0 : m_laidItems;
    for (; p < total; ++p) {
        if (p >= m_laidParagraphs) {
            // The empty document already has its first block.
            if (p > 0) cursor.insertBlock();
            m_laidParagraphs = p + 1;
            first = 0;
        }
        const Paragraph& para = m_paragraphs[p];
        for (qsizetype i = first; i < para.size(); ++i) insertItem(cursor, para[i]);
        m_laidItems = para.size();
    }
    cursor.endEditBlock();
}

void ChatLog::restyleDocument() {
    bool any = false;
    for (bool r : m_restyled) any = any || r;
    if (!any) return;

    struct Range {
        int position, length, style, link;
    };
    QList<Range> ranges;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            if (!f.hasProperty(kStyleProperty)) continue;
            const int s = f.intProperty(kStyleProperty);
            if (s < 0 || s >= kStyleCount || !m_restyled[static_cast<size_t>(s)]) continue;
            const int link =
                f.hasProperty(kLinkProperty) ? linkOfMark(f.intProperty(kLinkProperty)) : -1;
            ranges.append({fragment.position(), fragment.length(), s, link});
        }
    }
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (const Range& r : ranges) {
        cursor.setPosition(r.position);
        cursor.setPosition(r.position + r.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(r.link >= 0 ? linkFormat(r.style, r.link, r.link == m_hovered)
                                         : textFormat(r.style));
    }
    cursor.endEditBlock();
    m_restyled.fill(false);
}

void ChatLog::format() {
    restyleDocument();
    appendWaitingItems();
    dropOldParagraphs();
    viewport()->update();
}

void ChatLog::dropOldParagraphs() {
    const auto over = [this](qsizetype items, qsizetype chars, qsizetype links) {
        return items > kMaxItems || chars > kMaxTextChars || m_links.size() - links > kMaxLinks;
    };
    if (!over(m_itemCount, m_textChars, 0)) return;
    qsizetype drop = 0;
    qsizetype links = 0;
    qsizetype items = m_itemCount;
    qsizetype chars = m_textChars;
    while (over(items, chars, links) && drop < m_paragraphs.size() - 1) {
        const Paragraph& para = m_paragraphs[drop];
        items -= para.size() + 1;
        for (const Item& item : para) {
            if (item.kind == ItemKind::Link) ++links;
            chars -= item.text.size();
        }
        ++drop;
    }
    if (drop == 0) return;

    // Everything is laid out by now, so paragraph n is block n.
    const int removed = document()->findBlockByNumber(static_cast<int>(drop)).position();
    QTextCursor cursor(document());
    cursor.setPosition(removed, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();

    m_paragraphs.remove(0, drop);
    m_laidParagraphs -= drop;
    m_itemCount = items;
    m_textChars = chars;
    // The links of those paragraphs are always the oldest ones.
    m_links.remove(0, links);
    m_spans.remove(0, links);
    m_firstLink += static_cast<int>(links);
    for (LinkSpan& span : m_spans) span.position -= removed;
    if (m_hovered >= 0 && m_hovered < m_firstLink) m_hovered = -1;
}

void ChatLog::clearLog() {
    m_hovered = -1;
    QTextBrowser::clear();
    prepareDocument();
    m_paragraphs.clear();
    m_links.clear();
    m_spans.clear();
    m_firstLink = 0;
    m_itemCount = 0;
    m_textChars = 0;
    m_laidParagraphs = 0;
    m_laidItems = 0;
}

void ChatLog::scrollToEnd() {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

QVariant ChatLog::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::ImageResource) {
        const int index = numberInUrl(name, kPictureScheme, 1 << 20);
        if (index >= 0) {
            if (index < m_pictures.size()) return m_pictures[index];
            return QVariant();
        }
    }
    // Nothing else is ever loaded: the log never follows addresses itself.
    return QVariant();
}

QMimeData* ChatLog::createMimeDataFromSelection() const {
    const QTextCursor selection = textCursor();
    const int from = selection.selectionStart();
    const int to = selection.selectionEnd();
    QString text;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        if (block.position() > from) text += QLatin1Char('\n');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = qMax(from, fragment.position());
            const int end = qMin(to, fragment.position() + fragment.length());
            if (start >= end) continue;
            const QTextCharFormat f = fragment.charFormat();
            if (f.isImageFormat()) {
                const int index = numberInUrl(QUrl(f.toImageFormat().name()), kPictureScheme,
                                              static_cast<int>(m_pictureTexts.size()));
                if (index >= 0) text += m_pictureTexts[index].repeated(end - start);
                continue;
            }
            text += fragment.text().mid(start - fragment.position(), end - start);
        }
    }
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

void ChatLog::setHovered(int link) {
    if (link == m_hovered) return;
    const int before = m_hovered;
    m_hovered = link;
    QTextCursor cursor(document());
    for (const int n : {before, link}) {
        const qsizetype index = linkIndex(n);
        if (index < 0 || !m_spans[index].laidOut) continue;
        const LinkSpan& span = m_spans[index];
        if (span.position + span.length > document()->characterCount()) continue;
        cursor.setPosition(span.position);
        cursor.setPosition(span.position + span.length, QTextCursor::KeepAnchor);
        const QTextCharFormat current = cursor.charFormat();
        const int s =
            current.hasProperty(kStyleProperty) ? current.intProperty(kStyleProperty) : kLinkStyle;
        cursor.setCharFormat(linkFormat(s, n, n == m_hovered));
    }
}

void ChatLog::linkHighlighted(const QUrl& url) {
    setHovered(linkOfMark(numberInUrl(url, kLinkScheme, kMaxLinks)));
}

void ChatLog::linkClicked(const QUrl& url) {
    const int id = linkOfMark(numberInUrl(url, kLinkScheme, kMaxLinks));
    if (id >= 0) emit jump(id);
}

} // namespace euchre
