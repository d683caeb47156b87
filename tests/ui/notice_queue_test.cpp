// The window's notices from the line: one at a time, in the order they came, never one inside
// another's box.
#include "ui/dialogs/notice_queue.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <functional>

namespace zx {
namespace {

TEST(NoticeQueue, ANoticeThatComesWhileAnotherIsShownWaitsForItToClose) {
    const struct {
        const char* name;
        std::function<void(NoticeQueue&, QStringList&)> run;
        QStringList said;
    } cases[] = {
        {"an error box open when the operation ends, and the comparison's list after it",
         [](NoticeQueue& q, QStringList& said) {
             q.post([&] {
                 said << "error";
                 q.post([&] {
                     said << "report";
                     q.post([&] { said << "list"; });
                     said << "report closed";
                 });
                 said << "error closed";
             });
         },
         {"error", "error closed", "report", "report closed", "list"}},
        {"a question answered at once holds what comes meanwhile until it is answered",
         [](NoticeQueue& q, QStringList& said) {
             q.runNow([&] {
                 said << "close question";
                 q.post([&] { said << "report"; });
                 said << "answered";
             });
             said << "closing";
         },
         {"close question", "answered", "report", "closing"}},
        {"a question inside a box runs at once; what waits runs when the box closes",
         [](NoticeQueue& q, QStringList& said) {
             q.post([&] {
                 said << "box";
                 q.post([&] { said << "report"; });
                 q.runNow([&] { said << "question"; });
                 said << "box closed";
             });
         },
         {"box", "question", "box closed", "report"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NoticeQueue queue;
        QStringList said;
        c.run(queue, said);
        EXPECT_EQ(said, c.said);
        EXPECT_FALSE(queue.running());
        EXPECT_EQ(queue.waiting(), 0u);
    }
}

} // namespace
} // namespace zx
