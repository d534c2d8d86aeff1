// Tabout: the about window: version, credits, year, a picture and the web link.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

class QLabel;

namespace euchre {

// The maker's web site, which the about window's link and the table's logo open.
QUrl makerWebSite();

class Tabout : public QWidget {
    Q_OBJECT
public:
    explicit Tabout(QWidget* parent = nullptr);

    // Opens a web address in the user's browser; replaceable so that tests
    // and screenshots never start one.
    std::function<void(const QUrl&)> openUrl;

    // Image1Click: clicking the picture hides the window.
    void Image1Click() { hide(); }
    // Label7Click: opens the maker's web site.
    void Label7Click();
    // Button1Click ("Done").
    void Button1Click() { close(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_image = nullptr;
};

} // namespace euchre
