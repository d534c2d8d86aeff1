// ChatLog: the chat log view. Paragraphs of text, picture and link items, each
// text item drawn in one of sixteen shared styles, built on Qt's rich text.
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <array>
#include <optional>

namespace euchre {

struct ChatStyle {
    QString family = QStringLiteral("Arial");
    int size = 10; // points
    QColor colour = Qt::black;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

class ChatLog : public QTextBrowser {
    Q_OBJECT
public:
    static constexpr int kStyleCount = 16;
    // Links are drawn in this style.
    static constexpr int kLinkStyle = 4;
    // The log keeps at most this many items, each paragraph counting as one
    // more; layout drops the oldest paragraphs beyond that (never the newest).
    // Lines come from other players, and a stream of long ones would
    // otherwise hold memory without end.
    static constexpr qsizetype kMaxItems = 20000;
    // And at most this many characters of text, and this many links (each
    // link is drawn in a format of its own, which the document never lets
    // go), so that a stream of long lines cannot hold memory without end.
    static constexpr qsizetype kMaxTextChars = 500000;
    static constexpr int kMaxLinks = 4096;

    enum class ItemKind { Text, Picture, Link };
    struct Item {
        ItemKind kind = ItemKind::Text;
        int style = 0;
        QString text;    // text and link items
        int picture = 0; // picture items
        int link = -1;   // link items: the number the log reports on a click
    };
    using Paragraph = QList<Item>;

    explicit ChatLog(QWidget* parent = nullptr);

    // ---- styles: shared by every item that uses them ----
    const ChatStyle& style(int number) const;
    void setStyleColour(int number, const QColor& colour);
    void setStyleBold(int number, bool bold);
    void setStyleSize(int number, int points);
    void setStyle(int number, const ChatStyle& style);

    // The pictures that picture items show by number.
    void setPictures(const QList<QImage>& pictures);
    int pictureCount() const { return static_cast<int>(m_pictures.size()); }
    // What a copied picture becomes in plain text, by picture number.
    void setPictureTexts(const QStringList& texts) { m_pictureTexts = texts; }

    // ---- content: items wait until the next format() ----
    void addParagraph(const QString& text, int style);
    void addText(const QString& text, int style);
    // Returns the link's number: links count 0, 1, 2 ... since the log was
    // created or last cleared.
    int addLink(const QString& text, int style = kLinkStyle);
    void addPicture(int index);

    // Lays the log out: shows waiting items, redraws items whose style
    // changed since the last layout, and drops the oldest paragraphs when the
    // log holds more than kMaxItems, kMaxTextChars or kMaxLinks. Links keep
    // their numbers.
    void format();
    // Empties the log; link numbering starts again at 0.
    void clearLog();
    void scrollToEnd();

    const QList<Paragraph>& paragraphs() const { return m_paragraphs; }
    // Items and paragraphs held, as counted against kMaxItems.
    qsizetype itemCount() const { return m_itemCount; }
    // Characters of text and links held, as counted against kMaxTextChars.
    qsizetype textChars() const { return m_textChars; }
    // Links numbered since the log was created or last cleared.
    int linkCount() const { return m_firstLink + static_cast<int>(m_links.size()); }
    // The text kept with link item `number`; empty when there is none.
    QString linkText(int number) const;
    // The link under the mouse, or -1.
    int hoveredLink() const { return m_hovered; }

signals:
    // A click on link item `id`.
    void jump(int id);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
    // Copies are plain text, with each picture written as its text.
    QMimeData* createMimeDataFromSelection() const override;

private:
    struct LinkSpan {
        int position = 0;
        int length = 0;
        bool laidOut = false;
    };

    QTextCharFormat textFormat(int style) const;
    QTextCharFormat linkFormat(int style, int link, bool hovered) const;
    void restyleDocument();
    void appendWaitingItems();
    void insertItem(QTextCursor& cursor, const Item& item);
    void setHovered(int link);
    void linkClicked(const QUrl& url);
    void linkHighlighted(const QUrl& url);
    void prepareDocument();
    void dropOldParagraphs();
    // Where link `number` is kept in m_links and m_spans, or -1.
    qsizetype linkIndex(int number) const;
    // The kept link whose number leaves this remainder by kMaxLinks: the
    // document names links so, so that their formats repeat.
    int linkOfMark(int mark) const;

    std::array<ChatStyle, kStyleCount> m_styles;
    std::array<bool, kStyleCount> m_restyled{};
    // Each style's format, made when first needed after the style last
    // changed: every item of a style shares it.
    mutable std::array<std::optional<QTextCharFormat>, kStyleCount> m_formats;
    QList<QImage> m_pictures;
    QStringList m_pictureTexts;
    QList<Paragraph> m_paragraphs;
    QList<QString> m_links;  // from link number m_firstLink on
    QList<LinkSpan> m_spans; // the same
    int m_firstLink = 0;     // links before it went with dropped paragraphs
    qsizetype m_itemCount = 0;
    qsizetype m_textChars = 0;
    qsizetype m_laidParagraphs = 0; // paragraphs that have a block in the document
    qsizetype m_laidItems = 0;      // items of the last of those already in it
    int m_hovered = -1;
};

} // namespace euchre
