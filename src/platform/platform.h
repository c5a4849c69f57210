#pragma once
// The set of ports a running program is given; each host fills it with its platform's
// implementations, tests with fakes.
#include "platform/clock.h"
#include "platform/cpu.h"
#include "platform/files.h"
#include "platform/instance.h"
#include "platform/internet.h"
#include "platform/locale.h"
#include "platform/memory.h"
#include "platform/profile.h"
#include "platform/program_update.h"
#include "platform/program_folder.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace qm {

struct Platform {
    MemoryPort& memory;
    CpuPort& cpu;
    ProfilePort& profile;
    RegistryPort& registry;
    ShellPort& shell;
    FilesPort& files;
    InternetPort& internet;
    ClockPort& clock;
    ProgramFolderPort& programFolder;
    InstancePort& instance;
    ProgramUpdatePort& update;
    LocalePort& locale;
};

}  // namespace qm
