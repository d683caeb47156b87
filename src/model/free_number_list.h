#pragma once
// The rules of the free-number list as the operator edits it: adding with its duplicate test,
// correcting, deleting the selected entries, the sorted order and the entry counter. The list
// holds Windows-1250 entries of 16 characters (imports may bring longer ones); the table in
// the image keeps the first 16 characters of each (writeFreeNumbers).
#include "model/checked.h"
#include "model/raw_text.h"
#include "model/types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zx {

// Entries the table of the model holds: 208 (4-line) or 192 (16-line).
int freeNumberCapacity(DeviceModel model);

// "Bejegyzések:12/208"
std::string freeNumberCounterText(int entries, int capacity);

// Whether two entries put the same number into the table: their first 16 characters, trailing
// spaces not counted and letter case ignored (Windows-1250 letters included).
bool sameFreeNumber(const RawText& a, const RawText& b);
// The order of a sorted list: letter case ignored first, then the bytes.
bool freeNumberBefore(const RawText& a, const RawText& b);

inline constexpr std::string_view FreeNumberAlreadyInMessage = "Ez a szám már bent van !";

// Why a number typed or imported cannot be a list entry: without its spaces it must be at most
// 16 characters the unit dials (FreeNumberRule); an empty one is no refusal (it adds nothing).
std::optional<Refusal> freeNumberRefusal(const RawText& number);

// The entry a number becomes: without its spaces, padded with spaces to 16 characters.
RawText freeNumberEntry(const RawText& number);

struct FreeNumberAdd {
    enum class Outcome {
        Added,
        AlreadyIn, // "Ez a szám már bent van !": nothing added
        ListFull,  // nothing changes, the edit neither
        Empty,     // an edit of nothing but spaces adds no entry
    };
    Outcome outcome;
    RawText editText;         // what the edit shows afterwards
    std::size_t position = 0; // where the entry went (Added)
};

// "&Uj szám": the edit's number without spaces, padded to 16, joins the list at its end (or at
// its sorted place while the list is sorted) unless the list is full, the number is in it
// already, or the edit holds no number.
FreeNumberAdd addFreeNumber(std::vector<RawText>& list, const RawText& edit, int capacity,
                            bool sorted);

// "&Javítás": entry index becomes the edit's number without spaces, padded to 16, in the same
// place; no duplicate test. Gives that text (the edit shows it), or nothing when index is not
// an entry.
std::optional<RawText> correctFreeNumber(std::vector<RawText>& list, std::size_t index,
                                         const RawText& edit);

// "&Törlés": removes the entries whose flag is set; the rest keep their order. Gives how many
// were removed.
int removeSelectedFreeNumbers(std::vector<RawText>& list, const std::vector<bool>& selected);

// "ABC Rendezett" switched on: the present entries in sorted order (equal ones keep theirs).
void sortFreeNumbers(std::vector<RawText>& list);

} // namespace zx
