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

    // SelButton1Click: every topic button; brings its page to the top and
    // puts its caption in the heading.
    void SelButton1Click(QPushButton* button);
    // The same by tag; an unknown tag changes nothing.
    void showTopic(int tag);
    // The tag of the page on top.
    int currentTopic() const;
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

    QLabel* m_caption = nullptr;
    QStackedWidget* m_pages = nullptr;
};

} // namespace euchre
