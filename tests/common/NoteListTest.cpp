// Notes told in full up to a point and counted after it, and lines walked without copies.
#include "common/NoteList.h"

#include <gtest/gtest.h>

#include "common/TextLines.h"

namespace vekaton {
namespace {

TEST(NoteList, AMillionNotesKeepTheFirstFewAndCountTheRest) {
    NoteList notes(3);
    int built = 0;
    for (int i = 1; i <= 1'000'000; ++i) {
        notes.AddLazy([&] {
            ++built;
            return "note " + std::to_string(i);
        });
    }
    EXPECT_EQ(notes.Count(), 1'000'000u);
    EXPECT_EQ(built, 3) << "only kept notes are built";
    EXPECT_EQ(notes.Lines("notes"), (std::vector<std::string>{"note 1", "note 2", "note 3",
                                                              "... and 999997 more notes."}));
    NoteList few;
    few.Add("only");
    EXPECT_EQ(few.Lines(), std::vector<std::string>{"only"});
    EXPECT_EQ(NamedExamples({"\"A\"", "\"B\""}, 7), "\"A\", \"B\" and 5 more");
    EXPECT_EQ(NamedExamples({"1"}, 1), "1");
}

TEST(LineCursor, EveryLineEndEndsALineAndPeekDoesNotMoveOn) {
    using Lines = std::vector<std::string>;
    for (const auto& [text, expected] : std::vector<std::pair<std::string_view, Lines>>{
             {"a\r\nb\rc\n\nd", {"a", "b", "c", "", "d"}},
             {"", {}},
             {"\r\n", {""}},
             {"x\r\r\n", {"x", ""}},
             {"\n\n\r", {"", "", ""}}}) {
        LineCursor cursor(text);
        Lines walked;
        while (!cursor.AtEnd()) {
            const std::string_view peeked = cursor.Peek();
            EXPECT_EQ(cursor.Next(), peeked);
            walked.emplace_back(peeked);
            EXPECT_EQ(cursor.LinesTaken(), walked.size());
        }
        EXPECT_EQ(walked, expected) << text;
        EXPECT_EQ(cursor.Next(), "");
    }
}

}  // namespace
}  // namespace vekaton
