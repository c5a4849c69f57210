#include "app/command_runner.h"

#include "app/error_log.h"
#include "app/main_layout.h"
#include "app/program.h"
#include "app/remote_requests.h"
#include "forms/headless_host.h"
#include "memory/release_engine.h"
#include "memory/release_report.h"
#include "monitor/cpu_usage.h"
#include "settings/startup_options.h"

namespace qm {

namespace {

constexpr uint64_t kBytesPerMB = 1024ull * 1024ull;
// A release answered by the running copy ends with its cycle: steps of a minute each, up
// to twenty of them.
constexpr int kReleaseWaitMs = 4 * 60 * 60 * 1000;
constexpr int kCpuWindowMs = 250;

uint64_t mb(uint64_t bytes) { return (bytes + kBytesPerMB / 2) / kBytesPerMB; }

// Errors of the processor reading are no business of the error log here.
struct Unlogged : ErrorSink {
    void logError(const std::string&, int, const std::string&) override {}
};

StatusFigures readFigures(Platform& platform, const CommandIo& io) {
    Unlogged quiet;
    StatusFigures figures;
    clsCPUUsage cpu(platform, quiet);
    io.pause(kCpuWindowMs);
    figures.cpuPercent = std::clamp(cpu.CurrentCPUUsage(), 0, 100);
    figures.memory = platform.memory.status();
    return figures;
}

int status(const Command& command, Platform& platform, const CommandIo& io) {
    const StatusFigures figures = readFigures(platform, io);
    io.out(command.json ? statusJson(figures) : statusLine(figures));
    return kExitDone;
}

// The running copy's answer, as the user reads it, and the exit status it stands for.
int printReply(const std::optional<std::string>& reply, const CommandIo& io) {
    const std::string line = reply.value_or("");
    const std::string released = kReplyReleased, refused = kReplyRefused;
    if (line.rfind(released, 0) == 0) return io.out(line.substr(released.size())), kExitDone;
    if (line == kReplyBusy) {
        io.err(N_("Quillmere is releasing memory already; nothing was started."));
        return kExitAlreadyReleasing;
    }
    if (line.rfind(refused, 0) == 0) return io.err(formatText(N_("The running Quillmere refused: %1"), {line.substr(refused.size())})), kExitFailed;
    io.err(N_("The running Quillmere did not answer."));
    return kExitFailed;
}

int release(const Command& command, Platform& platform, ErrorSink& log, const CommandIo& io) {
    if (platform.instance.instanceRunning()) {
        std::string request = kRequestRelease;
        if (command.releaseMB) request += " " + std::to_string(*command.releaseMB);
        return printReply(platform.instance.askPreviousInstance(request, kReleaseWaitMs), io);
    }
    if (!command.releaseMB) {
        io.err(N_("--release needs a number of MB (--release=MB) when no Quillmere is running."));
        return kExitUsage;
    }
    io.out(releaseWithoutWindow(platform, log, *command.releaseMB));
    return kExitDone;
}

// The retry limit the button's cycles keep to, as the Startup/Other page stores it.
void loadRetryLimit(SubsystemContext& ctx, SettingsFile& settings) {
    auto t = ctx.trap(",loadStartup");
    for (const OptionRow& row : kStartupOptions) {
        if (row.control == mainForm::cmbRetry.name) runLoadStep(t, ctx.frmMain, settings, row);
    }
}

}  // namespace

std::string statusLine(const StatusFigures& f) {
    const MemoryStatus& m = f.memory;
    return formatText(N_("Physical memory: %1 MB total, %2 MB available. Page file: %3 MB total, %4 MB available. "
                         "Processor: %5%."),
                      {std::to_string(mb(m.totalPhys)), std::to_string(mb(m.availPhys)), std::to_string(mb(m.totalPageFile)),
                       std::to_string(mb(m.availPageFile)), std::to_string(f.cpuPercent)});
}

std::string statusJson(const StatusFigures& f) {
    const MemoryStatus& m = f.memory;
    return "{\"physical_total_mb\":" + std::to_string(mb(m.totalPhys)) +
           ",\"physical_available_mb\":" + std::to_string(mb(m.availPhys)) +
           ",\"page_file_total_mb\":" + std::to_string(mb(m.totalPageFile)) +
           ",\"page_file_available_mb\":" + std::to_string(mb(m.availPageFile)) +
           ",\"processor_percent\":" + std::to_string(f.cpuPercent) + "}";
}

std::string versionText(const std::string& build) {
    return std::string(kAppTitle) + " " + kTitleVersion + " (build " + build + ")";
}

// The engine's spacing passes on a virtual clock: with no window to keep answering, the
// steps follow each other at once, each one the button's own.
std::string releaseWithoutWindow(Platform& platform, ErrorSink& log, int32_t amountMB) {
    if (amountMB == 0) {  // nothing asked for: no cycle, whose block would be all that is available
        const MemoryStatus now = platform.memory.status();
        return releaseResultText({now, now});
    }
    HeadlessHost host;
    Form frmMain("frmMain");
    declareMainLayout(frmMain);
    SubsystemContext ctx{host, platform, log, frmMain};
    SettingsFile settings(ctx);
    settings.setLoading(true);
    loadRetryLimit(ctx, settings);
    settings.setLoading(false);
    ReleaseEngine engine(ctx);
    ReleaseResult result;
    engine.onCycleEnd = [&](const ReleaseResult& r) { result = r; };
    host.attach(frmMain);
    engine.startOnDemand(amountMB);
    while (engine.isReleasing()) host.advance(1000);
    return releaseResultText(result);
}

namespace {

// What the command line prints, in the user's language; --status --json stays as it is.
CommandIo shownIo(const CommandIo& io) {
    return {[out = io.out](const std::string& line) { out(shown(line)); },
            [err = io.err](const std::string& line) { err(shown(line)); }, io.pause};
}

}  // namespace

std::optional<int> runCommand(const Command& command, Platform& platform, const CommandIo& plainIo) {
    const CommandIo io = shownIo(plainIo);
    HeadlessHost quiet;  // the error log's host: no window to show anything in
    ErrorLog log(platform.files, platform.internet, quiet, platform.clock, errorLogPath(platform.programFolder));
    return runCommand(command, platform, log, io);
}

std::optional<int> actOnCommandLine(const std::vector<std::string>& args, const CommandEntry& entry,
                                    const CommandIo& plainIo, const std::function<std::optional<int>(const Command&)>& onMachine) {
    const CommandIo io = shownIo(plainIo);
    if (args.empty()) return std::nullopt;
    const ParsedCommand parsed = parseCommandLine(args, entry.windowsForms, entry.machineMB);
    if (!parsed.ok()) return io.err(formatText(N_("%1 (%2 --help lists the options)"), {parsed.error, entry.programName})), kExitUsage;
    switch (parsed.command.kind) {
        case CommandKind::Help: return io.out(helpText(entry.programName)), kExitDone;
        case CommandKind::Version: return io.out(versionText(entry.build)), kExitDone;
        case CommandKind::Window: return std::nullopt;
        default: return onMachine(parsed.command);
    }
}

std::optional<int> runCommand(const Command& command, Platform& platform, ErrorSink& log, const CommandIo& io) {
    switch (command.kind) {
        case CommandKind::Status: return status(command, platform, io);
        case CommandKind::Release: return release(command, platform, log, io);
        case CommandKind::Show:
            if (platform.instance.instanceRunning()) {
                return platform.instance.activatePreviousInstance() ? kExitDone : kExitFailed;
            }
            return std::nullopt;
        default: return std::nullopt;
    }
}

}  // namespace qm
