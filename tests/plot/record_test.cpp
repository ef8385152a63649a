// The plot record: short texts, labels through the input box and the label dialog, and
// what copying the settings leaves alone.
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
    const struct {
        const char* answer;
        bool added;
    } cases[] = {{"peak", true}, {"", false}, {"<cancel>", false}, {" ", true}};
    for (const auto& c : cases) {
        quortest::context ctx;
        trecordinfo record;
        ctx.host.answers.push_back(c.answer);
        EXPECT_EQ(record.addlabel(12, 34, ctx.host), c.added) << c.answer;
        EXPECT_EQ(ctx.host.events.front(), "ask: Input the text|  |");
        ASSERT_EQ(record.labels.size(), c.added ? 1u : 0u);
        if (c.added) {
            EXPECT_EQ(record.labels[0].text, c.answer);
            EXPECT_EQ(record.labels[0].point.x, 12);
            EXPECT_EQ(record.labels[0].point.y, 34);
        }
    }
}

namespace {

// Deletes the entry at one position, as the dialog's "Delete" does, and records what it saw.
class deleteat : public tlabeldeleter {
public:
    explicit deleteat(int position) : position_(position) {}
    std::vector<std::string> seen;
    void editlabels(tlabellist& entries) override
    {
        for (const auto& e : entries) seen.push_back(e.text);
        if (position_ >= 0 && position_ < int(entries.size())) entries.erase(entries.begin() + position_);
    }

private:
    int position_;
};

trecordinfo& withlabels(trecordinfo& r)
{
    r.labels = {{"one", {1, 1}}, {"two", {2, 2}}, {"three", {3, 3}}};
    return r;
}

}  // namespace

TEST(PlotRecord, DeleteLabelsKeepsWhatTheDialogLeavesInOrder)
{
    trecordinfo record;
    withlabels(record);
    auto dialog = std::make_unique<deleteat>(1);
    deleteat* seen = dialog.get();
    record.setlabeldeleter(std::move(dialog));
    record.deletelabels();
    EXPECT_EQ(seen->seen, (std::vector<std::string>{"one", "two", "three"}));
    ASSERT_EQ(record.labels.size(), 2u);
    EXPECT_EQ(record.labels[0].text, "one");
    EXPECT_EQ(record.labels[1].text, "three");
    EXPECT_EQ(record.labels[1].point.x, 3);

    trecordinfo keep;   // the default dialog keeps every label
    withlabels(keep).deletelabels();
    EXPECT_EQ(keep.labels.size(), 3u);
}

TEST(PlotRecord, CopySettingsLeavesLabelsMoveAndSensitivity)
{
    trecordinfo plot;
    withlabels(plot);
    plot.move.xshift = 2;
    plot.sensitivity = 25;
    plot.setting.caption = "sin(x)";
    plot.funcpen.width = 3;
    plot.axisfont.size = 12;
    plot.description = {"a line"};

    trecordinfo working("temprecord", 3);
    copysettings(working, plot);
    EXPECT_TRUE(working.labels.empty());
    EXPECT_EQ(working.sensitivity, 10);
    EXPECT_EQ(working.move.xshift, 0);
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
        EXPECT_EQ(m.xshift, 0);
        EXPECT_EQ(m.yshift, 0);
        EXPECT_EQ(m.xscale, 1);
        EXPECT_EQ(m.yscale, 1);
        EXPECT_EQ(m.movekind, kind);
    }
}
