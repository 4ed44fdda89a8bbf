#include "infinstall/core/section_questions.h"

namespace infinstall {
namespace {

Prompt prompt(const PlanContext& context, const std::string& name, int line)
{
    const InfSection& section = context.listed(name, line);
    Prompt prompt;
    for (const InfLine& l : section.lines) {
        if (equalsIgnoringCase(l.key, "Title"))
            prompt.title = context.expand(l, 0);
        else if (equalsIgnoringCase(l.key, "Prompt"))
            prompt.text = context.expand(l, 0);
        else if (equalsIgnoringCase(l.key, "ButtonType")) {
            const std::string type = context.expand(l, 0);
            if (equalsIgnoringCase(type, "YESNO"))
                prompt.yesNo = true;
            else if (!equalsIgnoringCase(type, "OKCANCEL"))
                throw context.inf().error(l.number, "Unbekannte Schaltflächen \"" + type + "\".");
        }
    }
    if (prompt.text.empty())
        throw context.inf().error(section.number, "[" + name + "] hat keinen Prompt.");
    return prompt;
}

void addDestinations(const PlanContext& context, const Registry& registry, const std::string& name, int line,
                     std::vector<DestinationQuestion>& questions)
{
    for (const InfLine& l : context.listed(name, line).lines) {
        DestinationQuestion q;
        q.dirid = static_cast<int>(context.number(l, l.key));
        if (!l.hasKey || q.dirid < kFirstCustomDirid)
            throw context.inf().error(l.number, "Ein Zielordner braucht eine Nummer ab 49000.");
        q.flags = context.number(l, field(l, 1));
        for (const InfLine& choice : context.listed(field(l, 0), l.number).lines) {
            if (q.prompt.empty()) {
                q.prompt = context.expand(choice, 3);
                q.defaultFolder = context.expand(choice, 4);
                q.overwriteWarning = context.expand(choice, 5);
            }
            if (!q.recordedFolder)
                q.recordedFolder = registry.value(context.registryKey(choice), context.expand(choice, 2));
        }
        if (q.recordedFolder && q.recordedFolder->empty())
            q.recordedFolder.reset();
        questions.push_back(q);
    }
}

}  // namespace

SectionQuestions questionsOf(const PlanContext& context, const Registry& registry, const InfSection& section)
{
    SectionQuestions questions;
    for (const InfLine& line : section.lines) {
        const std::vector<std::string> lists = listsOf(line);
        if (lists.empty())
            continue;
        if (equalsIgnoringCase(line.key, "BeginPrompt"))
            questions.beginPrompt = prompt(context, lists[0], line.number);
        else if (equalsIgnoringCase(line.key, "EndPrompt"))
            questions.endPrompt = prompt(context, lists[0], line.number);
        else if (equalsIgnoringCase(line.key, "CustomDestination"))
            for (const std::string& list : lists)
                addDestinations(context, registry, list, line.number, questions.destinations);
    }
    return questions;
}

}  // namespace infinstall
