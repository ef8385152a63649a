// The plot record: short texts, labels through the input box and the label dialog, what
// copying the settings leaves alone, and resetting the move.
#include <gtest/gtest.h>

#include "fixture.h"
#include "plotrecord.h"

using namespace quor;

TEST(PlotRecord, ShortTextsAreCutTo255)
{
    tpaintsetting s;
    s.caption = std::string(300, 'a');
    s.ytitle = std::string(255, 'b');
    EXPECT_EQ(s.caption.str(), std::string(255, 'a'));
    EXPECT_EQ(s.ytitle.str().size(), 255u);
}

TEST(PlotRecord, AddLabelAsksAndKeepsOnlyNonEmptyAnswers)
{
    const struct { const char* answer; bool added; } cases[] = {
        {"peak", true}, {"", false}, {"<cancel>", false}, {" ", true}};
    for (const auto& c : cases) {
        quortest::context ctx;
        trecordinfo record;
        ctx.host.answers.push_back(c.answer);
        EXPECT_EQ(record.addlabel(12, 34, ctx.host), c.added) << c.answer;
        EXPECT_EQ(ctx.host.events.front(), "ask: Input the text|  |");
        ASSERT_EQ(record.labels.size(), c.added ? 1u : 0u);
        if (c.added) {
            EXPECT_EQ(record.labels[0].text, c.answer);
            EXPECT_EQ(std::make_pair(record.labels[0].point.x, record.labels[0].point.y), std::make_pair(12, 34));
        }
    }
}

namespace {

// Deletes the second entry, as the dialog's "Delete" would, and records what it was handed.
struct deletesecond : tlabeldeleter {
    std::vector<std::string> seen;
    void editlabels(tlabellist& entries) override
    {
        for (const auto& e : entries) seen.push_back(e.text);
        entries.erase(entries.begin() + 1);
    }
};

const tlabellist three{{"one", {1, 1}}, {"two", {2, 2}}, {"three", {3, 3}}};

}  // namespace

TEST(PlotRecord, DeleteLabelsKeepsWhatTheDialogLeavesInOrder)
{
    trecordinfo record;
    record.labels = three;
    auto dialog = std::make_unique<deletesecond>();
    const deletesecond* seen = dialog.get();
    record.setlabeldeleter(std::move(dialog));
    record.deletelabels();
    EXPECT_EQ(seen->seen, (std::vector<std::string>{"one", "two", "three"}));
    ASSERT_EQ(record.labels.size(), 2u);
    EXPECT_EQ(record.labels[0].text, "one");
    EXPECT_EQ(record.labels[1].text, "three");
    EXPECT_EQ(record.labels[1].point.x, 3);
}

TEST(PlotRecord, CopySettingsThereAndBackLeavesLabelsMoveAndSensitivity)
{
    trecordinfo plot;
    plot.labels = three;
    plot.move.xshift = 2;
    plot.sensitivity = 25;
    plot.setting.caption = "sin(x)";
    plot.funcpen.width = 3;
    plot.axisfont.size = 12;
    plot.description = {"a line"};

    trecordinfo working("temprecord", 3);
    copysettings(working, plot);
    EXPECT_TRUE(working.labels.empty());
    EXPECT_EQ(working.move.xshift, 0);
    EXPECT_EQ(working.sensitivity, 10);
    EXPECT_EQ(working.setting.caption.str(), "sin(x)");
    EXPECT_EQ(working.funcpen.width, 3);
    EXPECT_EQ(working.axisfont.size, 12);
    EXPECT_EQ(working.description, plot.description);

    working.setting.title = "changed";
    copysettings(plot, working);
    EXPECT_EQ(plot.setting.title.str(), "changed");
    EXPECT_EQ(plot.labels.size(), 3u);
    EXPECT_EQ(plot.move.xshift, 2);
    EXPECT_EQ(plot.sensitivity, 25);
}

TEST(PlotRecord, ResetMoveKeepsTheMoveKind)
{
    for (std::uint8_t kind : {movetranslate, movestretch}) {
        tmoveinfo m{1.5, -3, 2, 0.5, kind};
        m.resetmove();
        EXPECT_EQ((std::vector<double>{m.xshift, m.yshift, m.xscale, m.yscale}), (std::vector<double>{0, 0, 1, 1}));
        EXPECT_EQ(m.movekind, kind);
    }
}
