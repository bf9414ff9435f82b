#include "ui/SkinLook.h"

#include <QPalette>
#include <QWidget>

namespace kz::ui {

namespace {

struct RoleColour {
    QPalette::ColorRole role;
    QRgb normal;
    QRgb disabled;
};

// The skins' own text and surface colours (see the skin files).
constexpr RoleColour kRoles[] = {
    {QPalette::Window, 0xEEF2F7, 0xEEF2F7},
    {QPalette::WindowText, 0x1C2B3A, 0x8A97A5},
    {QPalette::Base, 0xFFFFFF, 0xF4F7FB},
    {QPalette::AlternateBase, 0xF4F7FB, 0xF4F7FB},
    {QPalette::Text, 0x1C2B3A, 0x8A97A5},
    {QPalette::PlaceholderText, 0x6B7886, 0x8A97A5},
    {QPalette::Button, 0xF4F7FB, 0xEEF1F5},
    {QPalette::ButtonText, 0x1C2B3A, 0x8A97A5},
    {QPalette::BrightText, 0xFFFFFF, 0xFFFFFF},
    {QPalette::Highlight, 0x2C5F94, 0xC4D0DF},
    {QPalette::HighlightedText, 0xFFFFFF, 0x1C2B3A},
    {QPalette::ToolTipBase, 0xFFFFE1, 0xFFFFE1},
    {QPalette::ToolTipText, 0x1C2B3A, 0x1C2B3A},
    {QPalette::Link, 0x1F5FA8, 0x8A97A5},
    {QPalette::LinkVisited, 0x5B3C9E, 0x8A97A5},
    {QPalette::Light, 0xFFFFFF, 0xFFFFFF},
    {QPalette::Midlight, 0xE1E7EF, 0xE1E7EF},
    {QPalette::Mid, 0xC4D0DF, 0xC4D0DF},
    {QPalette::Dark, 0x8A97A5, 0x8A97A5},
    {QPalette::Shadow, 0x4A5866, 0x4A5866},
};

// A focus frame that shows on white, on the pale buttons and on the
// selected row alike; the skins' caption buttons take no focus.  Each rule is
// tied to the window's name so that it outweighs the skins' own borders.
struct FocusRule {
    const char* selector;
    const char* body;
};
constexpr FocusRule kFocusRules[] = {
    {"QPushButton:focus", "border: 2px solid #1F5FA8;"},
    {"QComboBox:focus", "border: 2px solid #1F5FA8;"},
    {"QLineEdit:focus", "border: 2px solid #1F5FA8;"},
    {"QAbstractItemView:focus", "border: 2px solid #1F5FA8;"},
    {"QAbstractItemView::item:focus", "border: 1px dashed #0B2F57;"},
    {"QRadioButton:focus", "outline: none; border: 1px solid #1F5FA8;"},
};

// A style sheet builds each styled control's palette afresh from the
// desktop's, whatever the window carries: the text colours the skins leave
// open come from here.  Any rule of a skin outweighs these.
const char* const kTextColours = R"(
* { color: #1C2B3A; selection-color: #FFFFFF; selection-background-color: #2C5F94; }
*:disabled { color: #8A97A5; }
)";

QString FocusStyleSheet(const QString& windowName)
{
    QString sheet = QStringLiteral("\n/* focus frame */\n");
    const QString root = QLatin1Char('#') + windowName + QLatin1Char(' ');
    for (const FocusRule& rule : kFocusRules) {
        const QString selector = QLatin1String(rule.selector);
        sheet += root + selector + QStringLiteral(", ") + root + QStringLiteral("QWidget ") + selector
                 + QStringLiteral(" { ") + QLatin1String(rule.body) + QStringLiteral(" }\n");
    }
    return sheet;
}

}  // namespace

QPalette SkinPalette()
{
    QPalette palette;
    for (const RoleColour& c : kRoles) {
        palette.setColor(QPalette::Active, c.role, QColor(c.normal));
        palette.setColor(QPalette::Inactive, c.role, QColor(c.normal));
        palette.setColor(QPalette::Disabled, c.role, QColor(c.disabled));
    }
    return palette;
}

void ApplySkinLook(QWidget* window)
{
    if (!window)
        return;
    window->setPalette(SkinPalette());
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("kz_window"));
    const QString focus = FocusStyleSheet(window->objectName());
    QString sheet = window->styleSheet();
    if (!sheet.contains(focus))
        window->setStyleSheet(sheet + QLatin1String(kTextColours) + focus);
}

}  // namespace kz::ui
