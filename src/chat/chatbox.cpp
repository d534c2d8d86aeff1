// The chat column: sending lines, actions and phrases, showing received lines
// with their smilies and links, and the chat's menus.
#include "chat/chatbox.h"

#include "chat/smilies.h"
#include "net/commands.h"
#include "net/protocol.h"
#include "settings/colourtext.h"
#include "sound/chattersounds.h"

#include <QAction>
#include <QClipboard>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace euchre {

const QString ChatBox::kPlaceholder = QStringLiteral("<Enter Chat Here>");

namespace {

const QString kCannotOpenWebpage = QStringLiteral("Cannot open Webpage");
const QString kChatterSoundsHint = QStringLiteral("Chatter Sounds");
// What a screen reader says of a phrase button and of the smileys' button.
const QString kSayPhrase = QStringLiteral("Say: %1");
const QString kSmileysName = QStringLiteral("Smileys");
const QString kPhraseWord = QStringLiteral("says: ");
const QString kActionPrefix = QStringLiteral("/me");

// Phrases the buttons hold until the settings file or the editor replaces them.
const std::array<QString, 9> kDefaultPhrases = {
    QStringLiteral("Way To Go!"), QStringLiteral("Good One!"),         QStringLiteral("Nice Try!"),
    QStringLiteral("Excellent!"), QStringLiteral("Brilliant!"),        QStringLiteral("Wow, WTG!"),
    QStringLiteral("Thanks!"),    QStringLiteral("Way To Go Teamie!"), kChatterSoundsHint,
};

// The highest number a display line may carry: a host slot (1..9) or its
// refused-connection slot 10, each with a style of its own.
constexpr int kHighestLineNumber = ChatLog::kStyleCount - 6;

// Colour of a received line whose colour text does not convert: red.
constexpr quint32 kFallbackLineColour = 255;

// Styles 0 to 14 follow the text size; 15 keeps its own.
constexpr int kSizedStyles = 15;
constexpr std::array<int, 4> kTextSizes = {8, 10, 12, 14};

// The styles the log starts with: notices, spare styles, links, then one per slot.
void setInitialStyles(ChatLog* log) {
    const auto colour = [](const char* name) {
        return colourToQColor(colourFromText(QLatin1String(name)).value_or(0));
    };
    const auto make = [&](const char* name, bool bold, bool italic, bool underline) {
        ChatStyle s;
        s.colour = colour(name);
        s.bold = bold;
        s.italic = italic;
        s.underline = underline;
        return s;
    };
    log->setStyle(0, make("clYellow", false, false, false));
    log->setStyle(1, make("clYellow", true, false, false));
    log->setStyle(2, make("clNavy", true, false, false));
    log->setStyle(3, make("clMaroon", true, true, false));
    // Links: the log's background is white, so links are drawn in blue.
    log->setStyle(4, make("clBlue", false, false, true));
    log->setStyle(5, make("clBlue", false, false, true));
    log->setStyle(6, make("clSilver", false, false, false));
    log->setStyle(7, make("clSilver", false, false, false));
    for (int s = 8; s < ChatLog::kStyleCount; ++s)
        log->setStyle(s, make("clWindowText", false, false, false));
}

// A small speech bubble with the button's number.
QIcon phraseGlyph(int number) {
    QPixmap pix(19, 13);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1.5, 0.5, 16, 9.5), 3, 3);
    QPainterPath tail(QPointF(5, 9.5));
    tail.lineTo(QPointF(4, 12.5));
    tail.lineTo(QPointF(8.5, 9.5));
    tail.closeSubpath();
    p.setPen(QPen(QColor(70, 80, 60), 1));
    p.setBrush(QColor(255, 255, 240));
    p.drawPath(bubble.united(tail));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(40, 60, 120));
    p.drawText(QRectF(1.5, 0.5, 16, 9.5), Qt::AlignCenter, QString::number(number));
    return QIcon(pix);
}

// A loudspeaker with sound waves.
QIcon soundGlyph() {
    QPixmap pix(19, 13);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath cone(QPointF(2, 4.5));
    cone.lineTo(QPointF(5, 4.5));
    cone.lineTo(QPointF(9, 1));
    cone.lineTo(QPointF(9, 12));
    cone.lineTo(QPointF(5, 8.5));
    cone.lineTo(QPointF(2, 8.5));
    cone.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), 0.8));
    p.setBrush(QColor(60, 90, 150));
    p.drawPath(cone);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 90, 150), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(7, 3, 6, 7), -50 * 16, 100 * 16);
    p.drawArc(QRectF(7, 0.5, 10, 12), -50 * 16, 100 * 16);
    return QIcon(pix);
}

// The input line: a key going down first clears the placeholder; Enter sends;
// pasting appends at the end; its context menu is the chat's own.
class ChatInput : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void()> onEnter;
    std::function<void()> onPaste;
    QMenu* menu = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (text() == ChatBox::kPlaceholder) clear();
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (onEnter) onEnter();
            event->accept();
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            if (onPaste) onPaste();
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
    void contextMenuEvent(QContextMenuEvent* event) override {
        if (menu) menu->popup(event->globalPos());
        event->accept();
    }
};

} // namespace

void showMessageBox(QWidget* parent, const QString& text, std::function<void()> done) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Euchre"), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (done) QObject::connect(box, &QMessageBox::finished, box, [done] { done(); });
    box->open();
}

ChatBox::ChatBox(ChatOwner* owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
    setObjectName(QStringLiteral("chatcolumn"));
    message = [this](const QString& text) { showMessageBox(window(), text); };
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    chooseColour = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, window());
        if (!c.isValid()) return std::nullopt;
        return c;
    };
    buildWidgets();
    buildMenus();
}

QLineEdit* ChatBox::input() const {
    return m_input;
}

void ChatBox::buildWidgets() {
    // Positions inside the column, which the window places at the board's
    // (495, 83): the button row, then the log, then the input line.
    for (int i = 0; i < kPhraseButtons; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("b_phrase%1").arg(i + 1));
        button->setGeometry(1 + 25 * i, 0, 25, 18);
        button->setIconSize(QSize(19, 13));
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::PointingHandCursor);
        if (i < 9) {
            button->setIcon(phraseGlyph(i + 1));
            button->setToolTip(kDefaultPhrases[static_cast<size_t>(i)]);
            button->setAccessibleName(kSayPhrase.arg(kDefaultPhrases[static_cast<size_t>(i)]));
            connect(button, &QToolButton::clicked, this, [this, i] { b_phrase1Click(i + 1); });
        } else {
            button->setIcon(soundGlyph());
            button->setToolTip(kChatterSoundsHint);
            button->setAccessibleName(kChatterSoundsHint);
            connect(button, &QToolButton::clicked, this, &ChatBox::b_phrase10Click);
        }
        m_phraseButtons[static_cast<size_t>(i)] = button;
    }

    m_log = new ChatLog(this);
    m_log->setGeometry(0, 21, 269, 401);
    m_log->setFrameShape(QFrame::Box);
    m_log->setLineWidth(1);
    m_log->setPictures(smileyImages());
    QStringList codes;
    for (int i = 0; i < kSmileyCount; ++i) codes.append(smileyCode(i));
    m_log->setPictureTexts(codes);
    setInitialStyles(m_log);
    connect(m_log, &ChatLog::jump, this, &ChatBox::mainchatJump);

    auto* input = new ChatInput(this);
    input->setObjectName(QStringLiteral("mychat"));
    input->setGeometry(1, 423, 241, 22);
    input->setMaxLength(kMaxTypedChars);
    input->setText(kPlaceholder);
    input->onEnter = [this] { sendit(); };
    input->onPaste = [this] { Paste1Click(); };
    m_input = input;
    setChatColour(m_chatColour);

    m_smiliesButton = new QToolButton(this);
    m_smiliesButton->setObjectName(QStringLiteral("button_smilies"));
    m_smiliesButton->setGeometry(245, 424, 24, 21);
    m_smiliesButton->setIcon(QIcon(QPixmap::fromImage(smileyImage(0))));
    m_smiliesButton->setIconSize(QSize(kSmileyWidth, kSmileyHeight));
    m_smiliesButton->setFocusPolicy(Qt::NoFocus);
    m_smiliesButton->setCursor(Qt::PointingHandCursor);
    m_smiliesButton->setAccessibleName(kSmileysName);
    connect(m_smiliesButton, &QToolButton::clicked, this, &ChatBox::button_smiliesClick);
}

void ChatBox::buildMenus() {
    // The log's own menu.
    m_logMenu = new QMenu(this);
    m_logMenu->setObjectName(QStringLiteral("popup_mainchat"));
    QAction* selectAll = m_logMenu->addAction(QStringLiteral("Select All"));
    selectAll->setObjectName(QStringLiteral("SelectAll1"));
    connect(selectAll, &QAction::triggered, this, &ChatBox::SelectAll1Click);
    QAction* copy = m_logMenu->addAction(QStringLiteral("Copy"));
    copy->setObjectName(QStringLiteral("Copy1"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &ChatBox::Copy1Click);
    QAction* clear = m_logMenu->addAction(QStringLiteral("Clear Chat"));
    clear->setObjectName(QStringLiteral("ClearChat1"));
    connect(clear, &QAction::triggered, this, &ChatBox::ClearChat1Click);
    m_logMenu->addSeparator();
    m_scrollOff1 = m_logMenu->addAction(QStringLiteral("Scroll Chat Off"));
    m_scrollOff1->setObjectName(QStringLiteral("ScrollChatOff1"));
    m_scrollOff1->setCheckable(true);
    // The same switch in the window's menu carries the working Ctrl+S.
    m_scrollOff1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_scrollOff1->setShortcutContext(Qt::WidgetShortcut);
    connect(m_scrollOff1, &QAction::triggered, this, &ChatBox::ScrollChatOff1Click);
    m_log->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_log, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_logMenu->popup(m_log->viewport()->mapToGlobal(pos)); });

    m_scrollOff2 = new QAction(QStringLiteral("Scroll Chat Off"), this);
    m_scrollOff2->setObjectName(QStringLiteral("ScrollChatOff2"));
    m_scrollOff2->setCheckable(true);
    m_scrollOff2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(m_scrollOff2, &QAction::triggered, this, &ChatBox::ScrollChatOff1Click);

    // The input line's menu.
    m_inputMenu = new QMenu(this);
    m_inputMenu->setObjectName(QStringLiteral("popup_mychat"));
    QAction* paste = m_inputMenu->addAction(QStringLiteral("Paste"));
    paste->setObjectName(QStringLiteral("Paste1"));
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetShortcut);
    connect(paste, &QAction::triggered, this, &ChatBox::Paste1Click);
    static_cast<ChatInput*>(m_input)->menu = m_inputMenu;

    // Smilies.
    m_smiliesMenu = new QMenu(this);
    m_smiliesMenu->setObjectName(QStringLiteral("popup_smilies"));
    for (int i = 0; i < kSmileyCount; ++i) {
        QAction* a =
            m_smiliesMenu->addAction(QIcon(QPixmap::fromImage(smileyImage(i))), smileyCode(i));
        a->setObjectName(QStringLiteral("smiley%1").arg(kFirstSmileyCode + i));
        const int code = kFirstSmileyCode + i;
        connect(a, &QAction::triggered, this, [this, code] { N271Click(code); });
    }

    // Chatter sounds: b_phrase10 opens the popup, and it is b_phrase9's menu.
    m_soundsMenu = new QMenu(this);
    m_soundsMenu->setObjectName(QStringLiteral("popup_sounds"));
    QAction* cancel = m_soundsMenu->addAction(chatterCancelLabel);
    cancel->setObjectName(chatterCancelName);
    cancel->setToolTip(chatterCancelLabel);
    connect(cancel, &QAction::triggered, this, [this] { wave20Click(chatterCancelTag); });
    for (const ChatterSound& sound : chatterSounds) {
        QAction* a = m_soundsMenu->addAction(sound.label);
        a->setObjectName(sound.name);
        a->setToolTip(sound.label);
        const int tag = sound.number;
        connect(a, &QAction::triggered, this, [this, tag] { wave20Click(tag); });
    }
    QToolButton* ninth = m_phraseButtons[8];
    ninth->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ninth, &QWidget::customContextMenuRequested, this,
            [this, ninth](const QPoint& pos) { m_soundsMenu->popup(ninth->mapToGlobal(pos)); });

    // Entries of the window's menus.
    m_textColour = new QAction(QStringLiteral("Text Color"), this);
    m_textColour->setObjectName(QStringLiteral("TextColor1"));
    connect(m_textColour, &QAction::triggered, this, &ChatBox::TextColor1Click);
    for (size_t i = 0; i < kTextSizes.size(); ++i) {
        const int size = kTextSizes[i];
        auto* a = new QAction(QString::number(size), this);
        a->setObjectName(QStringLiteral("N%1").arg(size));
        a->setCheckable(true);
        a->setData(size);
        connect(a, &QAction::triggered, this, [this, size] { N14Click(size); });
        m_sizeActions[i] = a;
    }
    m_clearMain = new QAction(QStringLiteral("Clear Main Chat Box"), this);
    m_clearMain->setObjectName(QStringLiteral("ClearMainChatBox1"));
    connect(m_clearMain, &QAction::triggered, this, &ChatBox::ClearMainChatBox1Click);
    m_phraseList = new QAction(QStringLiteral("Phrase List"), this);
    m_phraseList->setObjectName(QStringLiteral("PrhaseList1"));
    connect(m_phraseList, &QAction::triggered, this, &ChatBox::PrhaseList1Click);
}

// ---- sending ----

void ChatBox::sendLine(const char* word, const QString& text) {
    const QByteArray body = (text + QLatin1Char('|') + colourToText(m_chatColour)).toUtf8();
    m_owner->sendToHost(MessageBuilder(word).field(m_owner->ownSlot()).field(body).done(false));
}

void ChatBox::sendit() {
    if (!m_owner->isLoggedIn()) return;
    const QString text = m_input->text();
    if (!text.isEmpty()) {
        if (text.front() != QLatin1Char('/'))
            sendLine(cmd::chat, text);
        else if (text.startsWith(kActionPrefix))
            // "/me" and the character after it are cut, whatever that character is.
            sendLine(cmd::action, text.mid(kActionPrefix.size() + 1));
    }
    m_input->clear();
}

void ChatBox::b_phrase1Click(int button) {
    if (button < 1 || button > 9) return;
    if (!m_owner->isLoggedIn() || !m_gateOpen) return;
    const QString text = phrase(button);
    if (text.left(4) != kActionPrefix + QLatin1Char(' '))
        sendLine(cmd::action, kPhraseWord + text);
    else
        sendLine(cmd::action, text.mid(4));
    m_gateOpen = false;
    m_gateTicks = 0;
    emit phraseGateClosed();
}

void ChatBox::advancePhraseGate() {
    if (m_gateOpen) return;
    if (++m_gateTicks > kPhraseGateTicks) {
        m_gateOpen = true;
        m_gateTicks = 0;
    }
}

void ChatBox::wave20Click(int tag) {
    const std::optional<ChatterSound> sound = chatterSoundByNumber(tag);
    if (!sound) return; // "<Cancel>"
    const int slot = m_owner->ownSlot();
    if (!m_owner->isLoggedIn() || slot < 1 || slot > 4) return;
    m_owner->sendToHost(MessageBuilder(cmd::playasound)
                            .field(slot)
                            .field(QByteArrayView(sound->name.data(), sound->name.size()))
                            .done(true));
}

// ---- showing ----

void ChatBox::chatrecieved(QByteArrayView args) {
    const QString text = QString::fromUtf8(args);
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        addlinetochat(text, kFallbackLineColour);
        return;
    }
    const std::optional<quint32> colour = colourFromText(text.mid(bar + 1));
    addlinetochat(text.left(bar), colour.value_or(kFallbackLineColour));
}

void ChatBox::addWords(const QString& segment, int style) {
    const QString text = segment + QLatin1Char(' ');
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype blank = text.indexOf(QLatin1Char(' '), start);
        const QString word = text.mid(start, blank - start + 1);
        start = blank + 1;
        if (islink(word)) {
            m_linkTable.store(word);
            m_log->addLink(word, ChatLog::kLinkStyle);
        } else {
            m_log->addText(word, style);
        }
    }
}

void ChatBox::addlinetochat(const QString& line, quint32 colour) {
    const qsizetype plus = line.indexOf(QLatin1Char('+'));
    if (plus < 0) return;
    const QByteArray numberText = line.left(plus).toLatin1();
    const std::optional<int> number = FieldReader(numberText).number(0, kHighestLineNumber);
    if (!number) return;
    const int style = *number > 0 ? *number + 5 : 0;

    // Lines come from other players: a huge one is shown cut, so that showing
    // it stays quick and the log small.
    QString rest = line.mid(plus + 1, kMaxShownChars);
    if (line.size() - plus - 1 > kMaxShownChars) {
        // A smiley code cut in two would swallow the mark.
        const qsizetype mark = rest.lastIndexOf(QLatin1String(kSmileyMark));
        if (mark >= 0 && mark + 5 > rest.size()) rest.truncate(mark);
        rest += QChar(0x2026);
    }
    QString speaker;
    const qsizetype colon = rest.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        speaker = rest.left(colon + 1);
        rest.remove(0, colon + 1);
    }

    m_log->setStyleColour(style, colourToQColor(colour));
    m_log->setStyleBold(style, true);
    m_log->addParagraph(speaker + QLatin1Char(' '), style);

    const QLatin1String mark(kSmileyMark);
    for (qsizetype at = rest.indexOf(mark); at >= 0; at = rest.indexOf(mark)) {
        const QString segment = rest.left(at);
        rest.remove(0, at + mark.size());
        const QByteArray code = rest.left(2).toLatin1();
        rest.remove(0, 2);
        addWords(segment, style);
        const std::optional<int> n =
            FieldReader(code).number(kFirstSmileyCode, kFirstSmileyCode + kSmileyCount - 1);
        m_log->addPicture(n ? *n - kFirstSmileyCode : 0);
    }
    if (!rest.isEmpty()) addWords(rest, style);

    m_log->format();
    if (!m_scrollOff) m_log->scrollToEnd();
}

void ChatBox::mainchatJump(int id) {
    const std::optional<QUrl> url = webAddressOfLink(m_log->linkText(id));
    if (!url || !openUrl || !openUrl(*url)) {
        if (message) message(kCannotOpenWebpage);
    }
}

// ---- popups ----

void ChatBox::button_smiliesClick() {
    m_smiliesMenu->popup(m_smiliesButton->mapToGlobal(m_smiliesButton->rect().bottomRight()));
}

void ChatBox::b_phrase10Click() {
    QToolButton* b = m_phraseButtons[9];
    m_soundsMenu->popup(b->mapToGlobal(b->rect().bottomRight()));
}

void ChatBox::N271Click(int code) {
    if (m_input->text() == kPlaceholder) m_input->clear();
    m_input->setText(m_input->text() + QLatin1String(kSmileyMark) + QString::number(code));
    m_input->deselect();
    m_input->end(false);
}

void ChatBox::setPhraseEditor(Tphrases* editor) {
    m_editor = editor;
    if (m_editor)
        m_editor->onDone = [this](const Tphrases::Phrases& edits) {
            applyPhraseEdits(edits);
            QString error;
            if (storePhrases && !storePhrases(edits, m_shownPhrases, &error)) {
                if (message) message(error);
                return false;
            }
            return true;
        };
}

Tphrases* ChatBox::phraseEditor() {
    if (!m_editor) setPhraseEditor(new Tphrases(this));
    return m_editor;
}

void ChatBox::PrhaseList1Click() {
    m_shownPhrases = phrases();
    phraseEditor()->openWith(m_shownPhrases);
}

void ChatBox::applyPhraseEdits(const Tphrases::Phrases& edits) {
    for (int i = 0; i < Tphrases::kPhrases; ++i) setPhrase(i + 1, edits[static_cast<size_t>(i)]);
}

// ---- menus ----

void ChatBox::SelectAll1Click() {
    m_log->selectAll();
    m_log->viewport()->update();
}

void ChatBox::Copy1Click() {
    if (m_log->textCursor().hasSelection()) m_log->copy();
}

void ChatBox::ClearChat1Click() {
    m_log->clearLog();
    m_log->format();
    m_input->setFocus();
}

void ChatBox::ClearMainChatBox1Click() {
    m_log->clearLog();
}

void ChatBox::ScrollChatOff1Click() {
    m_scrollOff = !m_scrollOff;
    m_scrollOff1->setChecked(m_scrollOff);
    m_scrollOff2->setChecked(m_scrollOff);
}

void ChatBox::Paste1Click() {
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty()) m_input->setText(m_input->text() + text);
    m_input->deselect();
    m_input->end(false);
}

void ChatBox::TextColor1Click() {
    if (!chooseColour) return;
    const std::optional<QColor> chosen = chooseColour(colourToQColor(m_chatColour));
    if (!chosen) return;
    setChatColour(colourFromQColor(*chosen));
    emit preferenceChanged(SettingKey::TextColour);
}

void ChatBox::N14Click(int size) {
    setTextSize(size);
    emit preferenceChanged(SettingKey::TextSize);
}

// ---- preferences ----

void ChatBox::setChatColour(quint32 colour) {
    m_chatColour = colour;
    QPalette pal = m_input->palette();
    pal.setColor(QPalette::Text, colourToQColor(colour));
    m_input->setPalette(pal);
}

int ChatBox::textSize() const {
    return m_log->style(0).size;
}

void ChatBox::setTextSize(int size) {
    for (int s = 0; s < kSizedStyles; ++s) m_log->setStyleSize(s, size);
    for (QAction* a : m_sizeActions) a->setChecked(a->data().toInt() == size);
    m_log->format();
}

QString ChatBox::phrase(int button) const {
    if (button < 1 || button > 9) return QString();
    return m_phraseButtons[static_cast<size_t>(button - 1)]->toolTip();
}

void ChatBox::setPhrase(int button, const QString& text) {
    if (button < 1 || button > 9) return;
    m_phraseButtons[static_cast<size_t>(button - 1)]->setToolTip(text);
    m_phraseButtons[static_cast<size_t>(button - 1)]->setAccessibleName(kSayPhrase.arg(text));
}

Tphrases::Phrases ChatBox::phrases() const {
    Tphrases::Phrases out;
    for (int i = 0; i < Tphrases::kPhrases; ++i) out[static_cast<size_t>(i)] = phrase(i + 1);
    return out;
}

} // namespace euchre
