#include "infinstall/core/invocation.h"

#include <algorithm>
#include <cctype>

#include "infinstall/core/inf_file.h"

namespace infinstall {
namespace {

bool allDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string joined(const std::vector<std::string>& args, size_t from)
{
    std::string out;
    for (size_t i = from; i < args.size(); ++i)
        out += (i > from ? " " : "") + args[i];
    return out;
}

}  // namespace

const char kUsage[] = "Aufruf:\n"
                      "  infinstall advpack,LaunchINFSection DATEI.INF,ABSCHNITT\n"
                      "  infinstall setupapi,InstallHinfSection ABSCHNITT 132 DATEI.INF";

std::optional<Invocation> parseInvocation(const std::vector<std::string>& args, std::string& error)
{
    error.clear();
    Invocation call;
    const std::string entry = args.empty() ? std::string() : args.front();
    if (equalsIgnoringCase(entry, "advpack,LaunchINFSection") && args.size() >= 2) {
        // <inf>,<section>[,<flags>[,<reboot>]]: numbers after the section are flags.
        std::string rest = joined(args, 1);
        for (int tail = 0; tail < 2; ++tail) {
            const size_t comma = rest.rfind(',');
            if (comma == std::string::npos || !allDigits(rest.substr(comma + 1)))
                break;
            rest.erase(comma);
        }
        const size_t comma = rest.rfind(',');
        if (comma != std::string::npos) {
            call.advanced = true;
            call.infPath = rest.substr(0, comma);
            call.section = rest.substr(comma + 1);
        }
    } else if ((equalsIgnoringCase(entry, "setupapi,InstallHinfSection") ||
                equalsIgnoringCase(entry, "setupx.dll,InstallHinfSection")) &&
               args.size() >= 4 && allDigits(args[2]) && !args[2].empty()) {
        call.section = args[1];
        call.infPath = joined(args, 3);
    }
    if (call.infPath.empty() || call.section.empty()) {
        error = "Unbekannter Aufruf: infinstall " + joined(args, 0) + "\n\n" + kUsage;
        return std::nullopt;
    }
    return call;
}

}  // namespace infinstall
