#pragma once
// The window's pages in the order of their tabs. The page control, the view menu's commands and
// the print command (which prints what the page shown holds) all count pages by this list.

namespace zx {

struct PageOrder {
    enum Index : int {
        BasicPage,
        LinesPage,
        TimersPage,
        NumbersPage,
        CodesPage,
        FreeNumbersPage,
        CallInPage,
        TerminalPage,
        Count
    };
};

} // namespace zx
