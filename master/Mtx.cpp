#include "master/Mtx.h"

#include <QLabel>

#include "app/MainFrame.h"
#include "link/Texts.h"
#include "master/core/MasterTexts.h"
#include "master/core/MtxVerdict.h"
#include "platform/MessageBox.h"
#include "ui/Markup.h"

namespace text = kz::master::text;

namespace {

// The skin styles its labels with a style sheet, which outranks a widget's
// own font and palette; the outcome's colour and font 0 of the skin are
// therefore given as the label's own style sheet.
QString OutcomeStyleSheet(const kz::ui::SkinFont* font, bool pass)
{
    QString sheet = QStringLiteral("color: %1;").arg(QLatin1String(pass ? "#00FF00" : "#FF0000"));
    if (!font)
        return sheet;
    if (!font->family.isEmpty())
        sheet += QStringLiteral(" font-family: \"%1\";").arg(font->family);
    if (font->pixelSize > 0)
        sheet += QStringLiteral(" font-size: %1px;").arg(font->pixelSize);
    else if (font->pointSize > 0)
        sheet += QStringLiteral(" font-size: %1pt;").arg(font->pointSize);
    sheet += QLatin1String(font->bold ? " font-weight: bold;" : " font-weight: normal;");
    sheet += QLatin1String(font->italic ? " font-style: italic;" : " font-style: normal;");
    return sheet;
}

}  // namespace

CMTX::CMTX(CMainFrame* owner) : CStreamingDialog(owner) {}

CStreamingDialog::RunPlan CMTX::Plan() const
{
    return {kz::master::kMtxCommand, kz::master::kMtxChunkBytes, text::MtxTitle, text::Decompressing};
}

void CMTX::InitControls()
{
    m_label = FindControl<QLabel>(QStringLiteral("text_output"));
}

void CMTX::OnPiece(const QString& piece)
{
    m_output += piece;
    if (m_label)
        m_label->setText(piece);
}

void CMTX::OnFinished()
{
    const kz::master::MtxVerdict verdict = kz::master::JudgeMtxOutput(m_output);
    RecordOutcome(QStringLiteral("mtx"), verdict.pass,
                  verdict.pass ? text::Successfully : verdict.noMtxFile ? text::NoMtxFile : text::Failed, m_output);
    ShowOutcome(verdict.pass);
    if (verdict.noMtxFile)
        kz::ShowMessageBox(GetHWND(), Text(text::NoMtxFile), Text(kz::text::Prompt));
}

void CMTX::ShowOutcome(bool pass)
{
    kz::ui::SetControlText(OkButton(), Text(pass ? text::Successfully : text::Failed));
    if (!m_label)
        return;
    const kz::ui::FontTable fonts = kz::ui::FontTable::FromSkin(GetHWND());
    m_label->setStyleSheet(OutcomeStyleSheet(fonts.Find(0), pass));
    m_label->setText(QLatin1String(pass ? "PASS" : "FAIL"));
}

void RunMtxDialog(CMainFrame* owner)
{
    CMTX dialog(owner);
    dialog.Create(owner ? owner->GetHWND() : nullptr, QStringLiteral("MTX解压"));
    dialog.CenterWindow();
    dialog.ShowModal();
}
