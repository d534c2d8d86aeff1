// ChatBox: the chat column of the table window: phrase buttons, the chat log,
// the input line and the smilies button, with the menus that belong to them.
#pragma once

#include "chat/chatlog.h"
#include "chat/links.h"
#include "chat/phrases.h"
#include "settings/settings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QAction;
class QLineEdit;
class QMenu;
class QToolButton;

namespace euchre {

// What the chat needs from the window it sits in.
class ChatOwner {
public:
    virtual ~ChatOwner() = default;
    // Hands one whole message to the game connection.
    virtual void sendToHost(const QByteArray& message) = 0;
    virtual bool isLoggedIn() const = 0;
    virtual int ownSlot() const = 0;
};

// Shows a message box without waiting for it; `done` runs once it is closed.
void showMessageBox(QWidget* parent, const QString& text, std::function<void()> done = {});

class ChatBox : public QWidget {
    Q_OBJECT
public:
    // The input line's text until the user types.
    static const QString kPlaceholder;
    // Phrase buttons may send again after this many ticks of the window's timer.
    static constexpr int kPhraseGateTicks = 100;
    static constexpr int kPhraseButtons = 10;
    // The longest line that can be typed; the host relays nothing longer.
    static constexpr int kMaxTypedChars = 1000;
    // What the log shows of a received line at most (speaker included); the
    // rest is cut off with "…". A typed line with its speaker always fits.
    static constexpr qsizetype kMaxShownChars = 1100;

    explicit ChatBox(ChatOwner* owner, QWidget* parent = nullptr);

    // ---- sending and showing lines ----
    void sendit();
    // Arguments of a received "CMD_chat" or "CMD_action".
    void chatrecieved(QByteArrayView args);
    // Shows "number+body" in the log; the number picks the style (0 for the
    // program's own notices, otherwise the sender's slot). A line whose
    // number is missing or out of range is dropped.
    void addlinetochat(const QString& line, quint32 colour);
    void mainchatJump(int id);

    // ---- buttons and popups ----
    void b_phrase1Click(int button); // buttons 1 to 9
    void b_phrase10Click();
    void button_smiliesClick();
    void N271Click(int code);  // a smiley of the popup, code 10 to 27
    void wave20Click(int tag); // a chatter sound of the popup, 0 to 20
    void PrhaseList1Click();

    // ---- menus ----
    void SelectAll1Click();
    void Copy1Click();
    void ClearChat1Click();
    void ClearMainChatBox1Click();
    void ScrollChatOff1Click();
    void Paste1Click();
    void TextColor1Click();
    void N14Click(int size);

    // ---- phrase gate (advanced by the window's timer) ----
    bool phraseGateOpen() const { return m_gateOpen; }
    int phraseGateTicks() const { return m_gateTicks; }
    void advancePhraseGate();

    // ---- preferences ----
    quint32 chatColour() const { return m_chatColour; }
    void setChatColour(quint32 colour);
    // The size of chat styles 0 to 14; ticks the size entry of that size.
    int textSize() const;
    void setTextSize(int size);
    QString phrase(int button) const;
    void setPhrase(int button, const QString& text);
    Tphrases::Phrases phrases() const;
    bool scrollChatOff() const { return m_scrollOff; }

    // ---- parts, for the window's menus and for tests ----
    ChatLog* log() const { return m_log; }
    QLineEdit* input() const;
    const LinkTable& linkTable() const { return m_linkTable; }
    QMenu* soundsMenu() const { return m_soundsMenu; }
    QMenu* smiliesMenu() const { return m_smiliesMenu; }
    QAction* scrollChatOffMenuAction() const { return m_scrollOff2; }
    QAction* textColourAction() const { return m_textColour; }
    QAction* clearMainChatBoxAction() const { return m_clearMain; }
    QAction* phraseListAction() const { return m_phraseList; }
    const std::array<QAction*, 4>& textSizeActions() const { return m_sizeActions; }

    // The phrase editor window; one is made on first use when none is given.
    void setPhraseEditor(Tphrases* editor);
    Tphrases* phraseEditor();

    // ---- replaceable for tests ----
    std::function<void(const QString&)> message;
    std::function<bool(const QUrl&)> openUrl;
    std::function<std::optional<QColor>(const QColor&)> chooseColour;
    // Writes the phrase editor's keys: the edited phrases and those the editor
    // opened with. False with a reason when it cannot.
    std::function<bool(const Tphrases::Phrases& edited, const Tphrases::Phrases& shown,
                       QString* error)>
        storePhrases;

signals:
    // A preference changed through a menu; the window saves its settings.
    void preferenceChanged(euchre::SettingKey key);
    // The phrase gate just closed; the window's timer must run to open it.
    void phraseGateClosed();

private:
    void buildWidgets();
    void buildMenus();
    void addWords(const QString& segment, int style);
    void sendLine(const char* word, const QString& text);
    void applyPhraseEdits(const Tphrases::Phrases& edits);

    ChatOwner* m_owner;
    ChatLog* m_log = nullptr;
    QLineEdit* m_input = nullptr;
    std::array<QToolButton*, kPhraseButtons> m_phraseButtons{};
    QToolButton* m_smiliesButton = nullptr;
    QMenu* m_logMenu = nullptr;
    QMenu* m_inputMenu = nullptr;
    QMenu* m_smiliesMenu = nullptr;
    QMenu* m_soundsMenu = nullptr;
    QAction* m_scrollOff1 = nullptr;
    QAction* m_scrollOff2 = nullptr;
    QAction* m_textColour = nullptr;
    QAction* m_clearMain = nullptr;
    QAction* m_phraseList = nullptr;
    std::array<QAction*, 4> m_sizeActions{};
    QPointer<Tphrases> m_editor;
    Tphrases::Phrases m_shownPhrases;

    LinkTable m_linkTable;
    bool m_gateOpen = true;
    int m_gateTicks = 0;
    quint32 m_chatColour = 0;
    bool m_scrollOff = false;
};

} // namespace euchre
