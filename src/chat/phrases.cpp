// The phrase editor: nine labelled fields and a "Done" button.
#include "chat/phrases.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace euchre {

Tphrases::Tphrases(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("phrases"));
    setWindowTitle(QStringLiteral("Euchre - Phrase Buttons"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(244, 245, 214));
    setPalette(pal);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(10);
    for (int i = 0; i < kPhrases; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("phrase%1").arg(i + 1));
        edit->setMaxLength(kMaxLength);
        edit->setMinimumWidth(260);
        form->addRow(QStringLiteral("Phrase Button %1:").arg(i + 1), edit);
        m_edits[static_cast<size_t>(i)] = edit;
    }

    m_done = new QPushButton(QStringLiteral("Done"), this);
    m_done->setObjectName(QStringLiteral("SelButton8"));
    m_done->setDefault(true);
    connect(m_done, &QPushButton::clicked, this, &Tphrases::SelButton8Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_done);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void Tphrases::openWith(const Phrases& phrases) {
    for (int i = 0; i < kPhrases; ++i)
        m_edits[static_cast<size_t>(i)]->setText(phrases[static_cast<size_t>(i)]);
    show();
    raise();
    activateWindow();
}

Tphrases::Phrases Tphrases::fields() const {
    Phrases out;
    for (int i = 0; i < kPhrases; ++i)
        out[static_cast<size_t>(i)] = m_edits[static_cast<size_t>(i)]->text();
    return out;
}

void Tphrases::SelButton8Click() {
    if (!onDone || onDone(fields())) close();
}

} // namespace euchre
