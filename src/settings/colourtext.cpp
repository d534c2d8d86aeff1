// Colour values to and from their text form, and to what is painted.
#include "colourtext.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace euchre {

namespace {

struct NamedColour {
    const char* name;
    quint32 value;
};

// Scheme colours carry their index in the desktop's colour table here.
constexpr quint32 schemeFlag = 0xFF000000;

constexpr std::array<NamedColour, 48> namedColours{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", schemeFlag | 0},
    {"clBackground", schemeFlag | 1},
    {"clActiveCaption", schemeFlag | 2},
    {"clInactiveCaption", schemeFlag | 3},
    {"clMenu", schemeFlag | 4},
    {"clWindow", schemeFlag | 5},
    {"clWindowFrame", schemeFlag | 6},
    {"clMenuText", schemeFlag | 7},
    {"clWindowText", schemeFlag | 8},
    {"clCaptionText", schemeFlag | 9},
    {"clActiveBorder", schemeFlag | 10},
    {"clInactiveBorder", schemeFlag | 11},
    {"clAppWorkSpace", schemeFlag | 12},
    {"clHighlight", schemeFlag | 13},
    {"clHighlightText", schemeFlag | 14},
    {"clBtnFace", schemeFlag | 15},
    {"clBtnShadow", schemeFlag | 16},
    {"clGrayText", schemeFlag | 17},
    {"clBtnText", schemeFlag | 18},
    {"clInactiveCaptionText", schemeFlag | 19},
    {"clBtnHighlight", schemeFlag | 20},
    {"cl3DDkShadow", schemeFlag | 21},
    {"cl3DLight", schemeFlag | 22},
    {"clInfoText", schemeFlag | 23},
    {"clInfoBk", schemeFlag | 24},
    {"clHotLight", schemeFlag | 26},
    {"clGradientActiveCaption", schemeFlag | 27},
    {"clGradientInactiveCaption", schemeFlag | 28},
    {"clMenuHighlight", schemeFlag | 29},
    {"clMenuBar", schemeFlag | 30},
}};

std::optional<quint32> parseNumber(QStringView text) {
    if (text.isEmpty()) return std::nullopt;
    bool ok = false;
    qint64 number = 0;
    if (text.startsWith(u'$')) {
        const QStringView digits = text.mid(1);
        // Plain hex digits only: no sign, no second prefix, at most 8 of them.
        if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
        for (QChar c : digits) {
            const char16_t u = c.unicode();
            const bool hex =
                (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
            if (!hex) return std::nullopt;
        }
        number = digits.toLongLong(&ok, 16);
    } else {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (!(c.isDigit() && c.unicode() < 128) && !(i == 0 && (c == u'-' || c == u'+')))
                return std::nullopt;
        }
        number = text.toLongLong(&ok, 10);
        if (ok && (number < -2147483648LL || number > 0xFFFFFFFFLL)) ok = false;
    }
    if (!ok) return std::nullopt;
    return static_cast<quint32>(number);
}

} // namespace

QString colourToText(quint32 value) {
    for (const auto& named : namedColours)
        if (named.value == value) return QString::fromLatin1(named.name);
    return QStringLiteral("$%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<quint32> colourFromText(const QString& text) {
    const QString trimmed = text.trimmed();
    for (const auto& named : namedColours)
        if (trimmed.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0)
            return named.value;
    return parseNumber(trimmed);
}

QColor colourToQColor(quint32 value) {
    if ((value & schemeFlag) == schemeFlag) {
        const QPalette palette = qGuiApp ? QGuiApplication::palette() : QPalette();
        switch (value & 0xFF) {
        case 1:
        case 4:
        case 10:
        case 11:
        case 30:
            return palette.color(QPalette::Window);
        case 0:
        case 15:
            return palette.color(QPalette::Button);
        case 2:
        case 13:
        case 27:
        case 29:
            return palette.color(QPalette::Highlight);
        case 3:
        case 12:
        case 28:
            return palette.color(QPalette::Mid);
        case 5:
            return palette.color(QPalette::Base);
        case 6:
        case 21:
            return palette.color(QPalette::Shadow);
        case 7:
        case 19:
            return palette.color(QPalette::WindowText);
        case 9:
        case 14:
            return palette.color(QPalette::HighlightedText);
        case 16:
            return palette.color(QPalette::Dark);
        case 17:
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 18:
            return palette.color(QPalette::ButtonText);
        case 20:
            return palette.color(QPalette::Light);
        case 22:
            return palette.color(QPalette::Midlight);
        case 23:
            return palette.color(QPalette::ToolTipText);
        case 24:
            return palette.color(QPalette::ToolTipBase);
        case 26:
            return palette.color(QPalette::Link);
        default:
            return palette.color(QPalette::Text); // clWindowText and the unknown
        }
    }
    if (value == 0x1FFFFFFF) return QColor(Qt::transparent); // clNone
    if (value == 0x20000000)                                 // clDefault
        return qGuiApp ? QGuiApplication::palette().color(QPalette::Text) : QColor(Qt::black);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 colourFromQColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

} // namespace euchre
