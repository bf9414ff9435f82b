#include "link/LinkState.h"

#include "link/Texts.h"

namespace kz {

namespace {

// For a build installed without the package, run in its checkout (the
// README gives the same command).
constexpr const char kUdevRuleCommand[] =
    "sudo sh -c 'install -m 644 packaging/udev/60-korvald-emmc.rules /etc/udev/rules.d/ && "
    "udevadm control --reload-rules && udevadm trigger --subsystem-match=usb'";

const struct {
    const char* words;  // how adb's text for the state begins
    LinkState state;
} kStates[] = {
    {"device", LinkState::Device},
    {"offline", LinkState::Offline},
    {"unauthorized", LinkState::Unauthorized},
    {"no permissions", LinkState::NoPermissions},
    {"authorizing", LinkState::Authorizing},
    {"connecting", LinkState::Connecting},
    {"recovery", LinkState::Recovery},
    {"sideload", LinkState::Sideload},
    {"bootloader", LinkState::Bootloader},
    {"host", LinkState::Host},
};

}  // namespace

LinkState LinkStateOf(const QString& words)
{
    const QString text = words.trimmed();
    for (const auto& row : kStates) {
        const QLatin1String word(row.words);
        // The whole word: "hostile" is no "host".
        if (text.startsWith(word) && (text.size() == word.size() || !text[word.size()].isLetterOrNumber()))
            return row.state;
    }
    return LinkState::Unknown;
}

LinkTexts TextsOf(LinkState state)
{
    namespace t = text;
    static const struct {
        LinkState state;
        LinkTexts texts;
    } kTexts[] = {
        {LinkState::Offline, {t::StateOffline, t::AdviceOffline}},
        {LinkState::Unauthorized, {t::StateUnauthorized, t::AdviceUnauthorized}},
        {LinkState::NoPermissions, {t::StateNoPermissions, t::AdviceNoPermissions}},
        {LinkState::Authorizing, {t::StateAuthorizing, t::AdviceWait}},
        {LinkState::Connecting, {t::StateConnecting, t::AdviceWait}},
        {LinkState::Recovery, {t::StateRecovery, t::AdviceRestartNormally}},
        {LinkState::Sideload, {t::StateSideload, t::AdviceRestartNormally}},
        {LinkState::Bootloader, {t::StateBootloader, t::AdviceRestartNormally}},
        {LinkState::Host, {t::StateHost, t::AdviceUnusable}},
        {LinkState::Unknown, {t::StateUnknown, t::AdviceUnusable}},
        {LinkState::AdbMissing, {t::StateAdbMissing, t::AdviceAdbMissing}},
    };
    for (const auto& row : kTexts) {
        if (row.state == state)
            return row.texts;
    }
    // Nothing listed, or a usable device that is not yet (or not) the box.
    return {t::Unconnected, nullptr};
}

QString FillAdvice(QString advice, const QString& words)
{
    advice.replace(QLatin1String("%2"), QLatin1String(kUdevRuleCommand));
    return advice.replace(QLatin1String("%1"), words);
}

}  // namespace kz
