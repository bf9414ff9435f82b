#include "app/core/FtpClient.h"

#include "link/Texts.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDir.h"
#include "platform/Process.h"

namespace kz {

QString FtpClientPath()
{
    return ProgramDirectory() + QStringLiteral("/FTPClient");
}

bool StartFtpClient()
{
    if (StartDetached(FtpClientPath(), {}, /*newProcessGroup=*/true))
        return true;
    ShowMessageBox(nullptr, QString::fromUtf8(text::FtpFailed), QString::fromUtf8(text::ChineseHint), MsgButtons::Ok,
                   MsgIcon::Warning);
    return false;
}

}  // namespace kz
