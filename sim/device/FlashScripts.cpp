// dl_kernel.sh and dl_ramdisk.sh, pushed by a system update: they write the
// box's own kernel or ramdisk image, which lies beside them, and print what
// they do.  The box keeps a copy under system/ in its state directory.

#include "Builtins.h"
#include "Transfer.h"
#include "UniqueFd.h"

#include <fcntl.h>
#include <unistd.h>

namespace box::dev {
namespace fs = std::filesystem;

int RunFlashScript(ShellContext& ctx, const Args&, const Node& script)
{
    const bool kernel = BaseName(script.path) == "dl_kernel.sh";
    const std::string imageName = kernel ? "uImage" : "uramdisk.img";
    const Node image = ctx.box.Fs().Resolve(ParentOf(script.path) + "/" + imageName, ctx.box.Media());
    std::error_code ec;
    if (image.kind != NodeKind::Host || !fs::is_regular_file(image.host, ec)) {
        ctx.out.Line(imageName + ": No such file or directory");
        return 1;
    }
    const uint64_t size = fs::file_size(image.host, ec);
    ctx.out.Line("writing " + imageName + " (" + std::to_string(size) + " bytes) to the " +
                 (kernel ? "kernel" : "ramdisk") + " partition");
    const fs::path store = ctx.box.StateDir() / "system";
    fs::create_directories(store, ec);
    const UniqueFd in(::open(image.host.c_str(), O_RDONLY | O_CLOEXEC));
    const UniqueFd out(::open((store / imageName).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    std::string error = (!in.ok() || !out.ok()) ? "cannot open the partition" : "";
    if (error.empty()) {
        Pacer pacer(ctx.box.Speed());
        error = CopyRange({in.get(), 0, out.get(), 0, size, true, 1 << 20, UINT64_MAX}, pacer, nullptr);
    }
    ctx.out.Line(error.empty() ? "done" : "write " + imageName + ": " + error);
    return error.empty() ? 0 : 1;
}

}  // namespace box::dev
