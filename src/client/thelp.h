// Thelp: the help window: topic buttons on the left, the chosen page on the right.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTextBrowser;

namespace euchre {

// Registers the help pages carried inside the program (once).
void initHelpResources();

class Thelp : public QWidget {
    Q_OBJECT
public:
    // The topics: each button's tag names its page, memo<tag>.
    struct Topic {
        int tag;
        const char* caption;
        const char* page; // resource path
    };
    static const Topic kTopics[7];

    explicit Thelp(QWidget* parent = nullptr);

    // SelButton1Click: every topic button; brings the page of its tag to the
    // top, presses the button and puts its caption in the heading. An
    // unknown tag changes nothing.
    void SelButton1Click(int tag);
    void showTopic(int tag) { SelButton1Click(tag); }
    // The tag of the page on top.
    int currentTopic() const { return m_topic; }
    QTextBrowser* page(int tag) const;

    // button_aboutClick, button_doneClick.
    void button_aboutClick() { emit aboutRequested(); }
    void button_doneClick() { hide(); }

    // Opens a web address from a page; replaceable so that tests never start
    // a browser.
    std::function<void(const QUrl&)> openUrl;

signals:
    void aboutRequested();
    // The lobby page's link to the download window.
    void lobbyDownloadRequested();

private:
    void followLink(const QUrl& url);

    int m_topic = 0;
    QLabel* m_caption = nullptr;
    QStackedWidget* m_pages = nullptr;
};

} // namespace euchre
