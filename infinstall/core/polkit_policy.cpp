#include "infinstall/core/polkit_policy.h"

#include <cctype>

#include "infinstall/core/escaping.h"

namespace infinstall {
namespace {

std::string xmlText(const std::string& text)
{
    return replacingEach(text, {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}});
}

}  // namespace

std::string polkitActionId(const std::string& groupName)
{
    // Action ids take lower-case letters, digits, "." and "-".
    std::string id;
    for (unsigned char c : groupName)
        id += std::isalnum(c) && c < 0x80 ? static_cast<char>(std::tolower(c)) : '-';
    return "org.infinstall." + (id.empty() ? std::string("program") : id);
}

std::string polkitPolicyFileName(const std::string& groupName)
{
    return polkitActionId(groupName) + ".policy";
}

std::string polkitPolicyText(const std::string& groupName, const std::string& program, const std::string& inf)
{
    const std::string name = xmlText(groupName);
    const std::string files = xmlText(program) + " " + xmlText(inf);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE policyconfig PUBLIC \"-//freedesktop//DTD PolicyKit Policy Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/PolicyKit/1/policyconfig.dtd\">\n"
           "<policyconfig>\n"
           "  <action id=\"" +
           polkitActionId(groupName) +
           "\">\n"
           "    <description>Remove " +
           name +
           "</description>\n"
           "    <description xml:lang=\"de\">" +
           name +
           " entfernen</description>\n"
           "    <message>Authentication is required to remove " +
           name + ", which is installed for all users (" + files +
           ").</message>\n"
           "    <message xml:lang=\"de\">" +
           name +
           " ist für alle Benutzer installiert. Um es zu "
           "entfernen (" +
           files +
           "), ist das Passwort eines Administrators nötig.</message>\n"
           "    <defaults>\n"
           "      <allow_any>auth_admin</allow_any>\n"
           "      <allow_inactive>auth_admin</allow_inactive>\n"
           "      <allow_active>auth_admin</allow_active>\n"
           "    </defaults>\n"
           "    <annotate key=\"org.freedesktop.policykit.exec.path\">" +
           xmlText(program) +
           "</annotate>\n"
           "    <annotate key=\"org.freedesktop.policykit.exec.allow_gui\">true</annotate>\n"
           "  </action>\n"
           "</policyconfig>\n";
}

}  // namespace infinstall
