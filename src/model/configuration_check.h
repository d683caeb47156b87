#pragma once
// The check of a configuration before it goes to the unit: one table of rules over the record,
// each a pure function that tells what it finds. A finding is an error when the unit will not do
// what the operator meant (two people sharing one PIN, a code no one can dial, a free number
// with letters in it), a warning when it is probably a mistake (an empty code row, the same
// prefix twice). Each finding names its place as the window and `show` do: the setting's name
// ("CodeTable[3]") and the window's page and label ("Kódok / 3. sor").
#include "model/settings_registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zx {

enum class Severity { Error, Warning };

struct Finding {
    Severity severity = Severity::Error;
    std::string setting;        // the name `show` prints: "CodeTable", "LocalLength"
    std::optional<int> element; // a list's element, counted from 1 as `show` counts them
    std::string message;        // Hungarian, for the operator

    // "CodeTable[3]", "LocalLength".
    std::string name() const;
    // The window's words: "Kódok / 3. sor", "Számhosszak / Helyi számhossz".
    std::string label() const;
    // The page the label names first ("Kódok"), or the dialog ("Preferenciák").
    std::string page() const;
    bool operator==(const Finding&) const = default;
};

// One rule: its name (the tests and the documentation call it so) and the function that looks
// at a configuration as the editors show it.
struct CheckRule {
    std::string_view id;
    std::vector<Finding> (*find)(const SettingsReading& reading);
};

// Every rule, in the order their findings are listed.
const std::vector<CheckRule>& checkRules();

// Every finding of every rule, rule by rule; within a rule in the order of the places.
std::vector<Finding> checkConfiguration(const SettingsReading& reading);
std::vector<Finding> checkConfiguration(const DatabaseRecord& record, DeviceModel model);

struct FindingCounts {
    int errors = 0;
    int warnings = 0;
    bool operator==(const FindingCounts&) const = default;
};
FindingCounts countFindings(const std::vector<Finding>& findings);

// "hiba", "figyelmeztetés".
std::string_view severityWord(Severity severity);
// One finding as a line of text: severity, label, name and message, separated by tabs.
std::string findingLine(const Finding& finding);
// "A konfiguráció 3 hibát tartalmaz. Feltölti mégis?"
std::string uploadWithErrorsQuestion(int errors);
// "2 hiba, 1 figyelmeztetés", "Nincs hiba, nincs figyelmeztetés."
std::string findingsSummary(FindingCounts counts);

// The longest number the unit keeps: a free number's 16 characters.
inline constexpr int LongestNumber = 16;

} // namespace zx
