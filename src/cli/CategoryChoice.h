// --categories: which categories of data an upload overwrites or a download takes,
// by number or by name, and the overwrite warning answered from that choice.
#pragma once

#include "link/Transfers.h"

#include <QString>

class TerminalPrompts;
class Console;

namespace cli
{

// The short name of category i (1..14) on the command line: "displays", "race-timers".
QString categoryName(int category);

struct CategoryParse {
    transfer::Categories chosen{};
    QString error; // empty when the text was understood
    bool ok() const { return error.isEmpty(); }
};

// Reads a comma-separated list of category numbers (1..14) and names, or "all" or
// "none". A category outside `allowed` is refused ("all" means all allowed ones).
CategoryParse parseCategories(const QString &text, const transfer::Categories &allowed);

struct ConfigurationParse {
    std::array<bool, 17> chosen{}; // display configurations 1..16
    QString error;                 // empty when the text was understood
    bool ok() const { return error.isEmpty(); }
};

// Reads a comma-separated list of display configurations 1..16 and ranges ("1,3-5"),
// or "all".
ConfigurationParse parseConfigurations(const QString &text);

// The table of numbers, names and captions for --help; `allowed` marks the
// categories the command takes and `checked` its default choice.
QString categoryTable(const transfer::Categories &allowed, const transfer::Categories &checked);

// The overwrite warning, answered with the categories the user chose on the command
// line: it lists what will be overwritten and what will not, then asks to go on.
class ChosenCategories : public transfer::CategoryQuestion
{
public:
    ChosenCategories(Console &console, TerminalPrompts &prompts, const transfer::Categories &chosen)
        : m_console(console), m_prompts(prompts), m_chosen(chosen)
    {
    }
    transfer::CategoryAnswer ask(const QString &title, const transfer::Categories &enabled,
                                 const transfer::Categories &checked) override;

private:
    Console &m_console;
    TerminalPrompts &m_prompts;
    transfer::Categories m_chosen;
};

} // namespace cli
