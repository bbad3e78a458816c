// Fail, the one way to end a run by an error: the code, the run result and
// the termination line follow from the kind and the number, and the block
// reaches both the report and the message file, once each.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "PileTestSupport.h"
#include "model/Errors.h"
#include "model/RunState.h"

namespace kestro {
namespace {

struct FailCase {
    const char* Name;
    ErrorKind Kind;
    int Number;
    int Result;                // stored run result
    const char* Termination;   // termination line written to the report
};

class FailForms : public testing::TestWithParam<FailCase> {};

TEST_P(FailForms, CodeResultAndBothChannels) {
    const FailCase& c = GetParam();
    for (int form = 0; form < 3; ++form) {
        SCOPED_TRACE(form);
        ResetRunState();
        ClearTerminationLine();
        test::CapturedChannels ch;
        const std::string block = "block of error " + std::to_string(c.Number) + " form " + std::to_string(form);
        if (form == 0) Fail(c.Kind, c.Number, [&](std::ostream& out) { out << block << '\n'; });
        if (form == 1) Fail(c.Kind, c.Number, {"", block});
        if (form == 2) Fail(c.Kind, c.Number, block, "Solution: none");
        ch.Close();
        ASSERT_TRUE(Failed());
        EXPECT_EQ(kestro::Run.ErrorNumber, c.Result);
        EXPECT_EQ(TerminationLine(), c.Termination);
        EXPECT_EQ(test::CountOf(ch.Report, block + "\n"), 1) << ch.Report;
        EXPECT_EQ(test::CountOf(ch.Messages, block + "\n"), 1) << ch.Messages;
        EXPECT_TRUE(test::Has(ch.Report, std::string(c.Termination) + "\n")) << ch.Report;
        if (form == 2) {
            // The standard block: two empty lines, the heading, an empty line,
            // the problem, the solution and an empty line.
            const std::string heading = ErrorHeading(c.Kind, c.Number);
            const std::string standard = "\n\n" + heading + "\n\n" + block + "\nSolution: none\n\n";
            EXPECT_TRUE(test::Has(ch.Report, standard)) << ch.Report;
            EXPECT_TRUE(test::Has(ch.Messages, standard)) << ch.Messages;
        }
    }
    ResetRunState();
    ClearTerminationLine();
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FailForms,
    testing::Values(
        FailCase{"input_70", ErrorKind::Input, 70, 170, "Kestro ended prematurely due to input error number INP00070"},
        FailCase{"input_5", ErrorKind::Input, 5, 105, "Kestro ended prematurely due to input error number INP00005"},
        FailCase{"runtime_10", ErrorKind::Runtime, 10, 210,
                 "Kestro ended prematurely due to runtime error number RUN00010"},
        FailCase{"runtime_99", ErrorKind::Runtime, 99, 299,
                 "Kestro ended prematurely due to runtime error number RUN00099"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(Errors, HeadingsAndCodes) {
    EXPECT_EQ(ErrorCode(ErrorKind::Input, 70), "INP00070");
    EXPECT_EQ(ErrorCode(ErrorKind::Runtime, 43), "RUN00043");
    EXPECT_EQ(ErrorHeading(ErrorKind::Input, 85), "**** Input Data Error No. 85 ****");
    EXPECT_EQ(ErrorHeading(ErrorKind::Runtime, 11), "**** Runtime Error No. 11 ****");
}

}  // namespace
}  // namespace kestro
