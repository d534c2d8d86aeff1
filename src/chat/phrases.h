// Tphrases: the phrase editor window, where the nine phrase buttons' texts are edited.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

class QLineEdit;
class QPushButton;

namespace euchre {

class Tphrases : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPhrases = 9;
    static constexpr int kMaxLength = 50;
    using Phrases = std::array<QString, kPhrases>;

    explicit Tphrases(QWidget* parent = nullptr);

    // Fills the fields (field n from phrase n) and shows the window.
    void openWith(const Phrases& phrases);
    Phrases fields() const;

    // "Done": hands the fields over; the window closes when this returns true.
    std::function<bool(const Phrases&)> onDone;

    // SelButton8Click
    void SelButton8Click();

private:
    std::array<QLineEdit*, kPhrases> m_edits{};
    QPushButton* m_done = nullptr;
};

} // namespace euchre
