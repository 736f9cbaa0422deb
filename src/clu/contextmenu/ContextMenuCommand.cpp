#include "clu/contextmenu/ContextMenuCommand.h"

#include "clu/contextmenu/ContextMenuRequest.h"
#include "clu/contextmenu/UtilityLauncher.h"
#include "platform/DetachedProcess.h"
#include "platform/ProgramFile.h"
#include "platform/QuarnRegistryKey.h"
#include "platform/Registry.h"

#include <cstdio>

namespace quarn::contextmenu {

namespace {
constexpr char ListName[] = "ContextMenu";
constexpr char ZotShellWord[] = "zotshell";

int Fail(const std::string& message, int code = 1) {
    std::fprintf(stderr, "quarn-contextmenu: %s\n", message.c_str());
    return code;
}

// The lines AppendLines added, as they end the list.
std::string ListedBlock(const std::vector<std::string>& paths) {
    std::string block;
    for (const std::string& path : paths) {
        block += path + '\n';
    }
    return block;
}

// Takes the paths back out of the list when no utility came to take them, so that a later
// run with another switch does not find them.
void TakeBack(TRegistry& registry, const std::vector<std::string>& paths) {
    const std::string block = ListedBlock(paths);
    try {
        registry.ChangeString(ListName, [&](const std::string& list) {
            return list.ends_with(block) ? list.substr(0, list.size() - block.size()) : list;
        });
    } catch (const ERegistryException& error) {
        Fail(std::string("the files stay in the \"ContextMenu\" list: ") + error.what());
    }
}

int HandOver(const ContextMenuRequest& request, const std::string& utility) {
    TRegistry registry(RegistryRoot::CurrentUser);
    if (!registry.OpenKey(QuarnRegistryKey, true)) {
        return Fail("cannot write the \"ContextMenu\" list in " + RegistryFolder());
    }
    const RegistryKeyGuard close(registry);
    try {
        registry.AppendLines(ListName, request.Paths);
    } catch (const ERegistryException& error) {
        return Fail(error.what());
    }
    const std::string failure = StartDetached(utility, {request.Switch, ZotShellWord});
    if (!failure.empty()) {
        TakeBack(registry, request.Paths);
        return Fail("cannot start " + utility + ": " + failure);
    }
    return 0;
}
} // namespace

int RunContextMenuCommand(const std::vector<std::string>& args) {
    const ParsedRequest parsed = ParseRequest(args, CurrentFolder());
    if (!parsed.Request) {
        return Fail(parsed.Refusal, parsed.UsageError ? 2 : 1);
    }
    const std::string utility = FindUtility(ProgramFilePath());
    if (utility.empty()) {
        return Fail(std::string(UtilityName) + " was found neither beside this program nor on "
                                               "PATH; nothing was handed to it.");
    }
    if (parsed.Request->Paths.empty()) {
        const std::string failure = StartDetached(utility, {parsed.Request->Switch});
        return failure.empty() ? 0 : Fail("cannot start " + utility + ": " + failure);
    }
    return HandOver(*parsed.Request, utility);
}

} // namespace quarn::contextmenu
