#include "DocumentStream.h"
#include "GraphFormats.h"
#include "JsonText.h"
#include "Report.h"
#include "RunOptions.h"
#include "RunnerFixture.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(RunOptions, ReadsEveryOptionInAnyLetterCase) {
    const RunOptions o = ParseRunOptions(
        {"doc.plm", "--method", "dest",     "--source", "A",        "--dest", "#3",
         "--model", "s",        "--scheme", "lrEp",     "--reward", "0.5",    "--penalty",
         "-0.25",   "--factor", "1e-2",     "--save",   "out.plm",  "--json", "--quiet"});
    std::string given;
    for (const Setting& setting : SettingRegistry::All()) {
        if (const auto& value = o.Given(setting))
            given += setting.Option() + " " + setting.Text(*value) + " ";
    }
    EXPECT_EQ(given, "--method dest --source A --dest #3 --model S --scheme LREP --reward 0.5 "
                     "--penalty -0.25 --factor 0.01 ");
    EXPECT_EQ(o.document + o.save.value(), "doc.plmout.plm");
    EXPECT_TRUE(o.json && o.quiet);
    EXPECT_EQ(ParseRunOptions({"-"}).document, "-"); // a file named "-" is no option
}

TEST(RunOptions, RefusesWhatItCannotRead) {
    // Arguments between bars.
    for (const std::string line :
         {"", "--json", "a.plm|b.plm", "a.plm|--method", "a.plm|--method|any", "a.plm|--model|Q",
          "a.plm|--scheme|LR(E)P", "a.plm|--reward|0.5x", "a.plm|--reward|",
          "a.plm|--penalty|1e39"}) {
        std::vector<std::string> args;
        for (std::size_t start = 0; !line.empty() && start <= line.size();) {
            const std::size_t bar = std::min(line.find('|', start), line.size());
            args.push_back(line.substr(start, bar - start));
            start = bar + 1;
        }
        EXPECT_THROW(ParseRunOptions(args), UsageError) << line;
    }
}

TEST(JsonText, QuotesAndEscapesControlCharacters) {
    const std::string cases[][3] = {
        {"A->B:", "\"A->B:\"", "A->B:"},
        {"a\"b\\c", "\"a\\\"b\\\\c\"", "a\"b\\c"},
        {"x\r\n\ty\x7f", "\"x\\r\\n\\ty\x7f\"", "x\\r\\n\\ty\\x7f"},
        {"\x1b]0;t\x07", "\"\\u001b]0;t\\u0007\"", "\\x1b]0;t\\x07"},
        // U+0080 and U+009F are the first and last C1 controls; U+00A0 and Ä are none.
        {"\xC2\x80\xC2\x9F\xC2\xA0\xC3\x84", "\"\xC2\x80\xC2\x9F\xC2\xA0\xC3\x84\"",
         "\\u0080\\u009f\xC2\xA0\xC3\x84"},
    };
    for (const auto& [text, quoted, escaped] : cases) {
        EXPECT_EQ(JsonText::Quote(text), quoted);
        EXPECT_EQ(JsonText::Escaped(text), escaped);
    }
    // Floats as the reports show them; what has no JSON form is null.
    EXPECT_EQ((std::vector<std::string>{JsonText::Float(1.0f / 3.0f), JsonText::Float(1e20f),
                                        JsonText::Float(INFINITY), JsonText::Float(NAN)}),
              (std::vector<std::string>{"0.33333334", "1e+20", "null", "null"}));
    // A message's own line breaks reach a terminal as plain ones, each line escaped.
    EXPECT_EQ(Report::ForTerminal("a\r\nbc\r\nd\x1b"), "a\nbc\nd\\x1b");
}

// Standard output is empty or a file of tests/data/cli, each worked out by hand: the README's
// first run, the network's cheaper routes under LRI, the S-model through its three answer
// ranges, path files in error (or, for nullptr, not looked at). Standard error is empty or holds
// the text given.
TEST_F(Runner, ExitStatusAndOutput) {
    // The last rows of a sweep whose row count times its part number passes 64 bits.
    std::string lastPart;
    for (int k = 0; k < 93; ++k)
        lastPart += "E/triangle.plm ";
    lastPart += "--method dest --source A --dest C --sweep reward=0.000001:1:0.000001 --sweep "
                "factor=1:100:1 --part 1000000000/1000000000";
    // A text of 5 MB is quoted by its first 60 characters.
    const std::string huge = "T --method dest --source A --dest " + std::string(5000000, 'x');
    const std::string cut = "no node labelled '" + std::string(60, 'x') + "...' for --dest\n";
    const struct {
        const char *command, *err, *golden;
        int status;
    } cases[] = {
        {"T --method dest --source Z --dest B", "no node labelled 'Z'", "", 2},
        {huge.c_str(), cut.c_str(), "", 2},
        {"T --method all --source #4", "no node #4", "", 2},
        {"T --method all --source #0", "no node #0", "", 2},
        {"T --method all --source #9999999999", "labelled '#9999999999'", "", 2}, // no index
        {"T --method file", "--paths", "", 2},
        {"T --scheme LREP --reward 0.1 --penalty 0.1", "Penalty value must be less", "", 2},
        {"T --scheme LREP", "Penalty value must be less", "", 2}, // the document's 0.1 and 0.1
        {"T --reward x", "not a number", "", 2},
        {"T --what", "unknown option", "", 2},
        // LRI with reward 0.5: six samples of S-A-D hold 1 - 0.5^7 on its links; a target stops
        // at the sample that reaches it, and --quiet lists no paths.
        {"N --method sample --source S --dest D --samples 6", "", "sample-s-to-d.txt", 0},
        {"N --method sample --source S --dest D --until 0.9 --json --quiet --seed 7", "",
         "sample-until.json", 0},
        {"N --method sample --source S --dest D --samples 12x", "number for --samples: '12x'", "",
         2},
        {"N --method sample --source S --dest D --samples 0",
         "samples must be from 1 to 2000000000.", "", 2},
        {"N --method sample --source S --dest D --samples 99999999999999999999",
         "not a whole number for --samples", "", 2},
        {"N --method sample --source S --dest D --seed -1", "number for --seed: '-1'", "", 2},
        {"N --method sample --source S --dest D --seed 18446744073709551616",
         "not a whole number for --seed", "", 2},
        {"N --method sample --source S --dest S", "Source node and destination node are equal.", "",
         2},
        {"N --method dest --source S --dest D --until 0.5", "--until goes with --method sample", "",
         2},
        {"N --method all --source S --dest D", "--dest goes with --method dest or sample", "", 2},
        {"N --method dest --source S --dest D --action-set variable",
         "--action-set variable goes with --method sample", "", 2},
        // The pursuit schemes take the P-model, and only the discretized one a resolution.
        {"N --method dest --source S --dest D --scheme pursuit --model S",
         "--scheme pursuit goes with --model P", "", 2},
        {"S --scheme discretized-pursuit", "The pursuit schemes go with the P-model.", "", 2},
        {"N --method dest --source S --dest D --resolution 5",
         "--resolution goes with --scheme discretized-pursuit", "", 2},
        {"N --method all --source S --scheme discretized-pursuit --resolution 1000000001",
         "The resolution must be from 1 to 1000000000.", "", 2},
        {"N --scheme discretized-pursuit --resolution 2.5",
         "not a whole number for --resolution: '2.5'", "", 2},
        {"N --method all --source S --sweep resolution=2,3",
         "--resolution goes with --scheme discretized-pursuit", "", 2},
        {"N --method dest --source S --dest D --length S->D=gamma(1)",
         "--length: unknown distribution 'gamma'", "", 2},
        {"N --method dest --source S --dest D --length S->Q=uniform(1,2)",
         "no node labelled 'Q' for --length", "", 2},
        // A path file's run names no destination: no preferred or shortest path to report.
        {"S --method file --paths E/s-model-paths.txt --length Home->Park=uniform(1,3)", "",
         nullptr, 0},
        {"N --history h.csv", "--history goes with --method", "", 2},
        {"N --method dest --source S --dest D --history /dev/full",
         "pathloom-run: the history could not be written to /dev/full\n", nullptr, 4},
        // A device is written as the rows come, not replaced by a file.
        {"N --method dest --source S --dest D --history /dev/null", "", nullptr, 0},
        {"N --sweep reward=0.1,0.2", "a sweep needs --method", "", 2},
        {"N --method all --source S --sweep seed=1,2", "--sweep seed goes with --method sample", "",
         2},
        {"N --method all --source S --sweep reward=0.1 --sweep Reward=0.2", "a setting swept twice",
         "", 2},
        {"N --method all --source S --sweep reward=0.1 --json", "do not go with a sweep", nullptr,
         2},
        {"N --method all --source S --summary", "--summary goes with --method sample", "", 2},
        {"N --method all --source S --part 3/2", "not a part K/N", "", 2},
        {lastPart.c_str(), "", nullptr, 0},
        {"T --method all --source A --sweep reward=0.5:0.5000001:1e-8",
         "the STEP 1e-08 is below the precision of the values (0.5 and 0.50000001 run as one)", "",
         2},
        // An imported graph runs from the file's probabilities: without reward they stay, as it
        // says.
        {"D/formats/nx-undirected.graphml --method dest --source s --dest w --reward 0", "",
         "imported-no-reward.txt", 0},
        {"D/formats/missing-endpoint.graphml", "is left out: there is no node 'nowhere'", nullptr,
         0},
        {"D/formats/mismatched.graphml", "line 4: the end tag '</edge>'", "", 3},
        {"D/formats/nx-directed.csv --export O/out.txt", "--export writes", "", 2},
        {"T --method all --json", "Please select source node.", "no-source.json", 2},
        {"D/documents/bad-signature.plm", "signature.plm' could not be loaded.\n", "", 3},
        {"/nonexistent/missing.plm --json", "could not be loaded", "missing.json", 3},
        {"T --method dest --source a --dest c --json", "", "a-to-c.json", 0},
        {"T --save /nonexistent/x.plm", "", "failed-save.txt", 1},
        {"T --method file --paths D/paths/missing-brace.txt --json", "", "missing-brace.json", 1},
        {"T --method file --paths /nonexistent/paths.txt --json", "", "no-paths.json", 1},
        {"T --method file --paths D/paths/empty.txt", "", "empty-paths.txt", 1},
        {"N --method dest --source S --dest D", "", "network-s-to-d.txt", 0},
        {"N --method all --source D --json", "", "network-from-d.json", 0},
        {"S", "", "s-model.txt", 0},
        {"S --json", "", "s-model.json", 0},
        {"S --method file --paths E/s-model-paths.txt", "", "s-model-paths.txt", 0},
        // Labels reach a terminal escaped: they can neither break the table nor command it.
        {"D/documents/control-characters.plm", "", "control-characters.txt", 0},
        // The scheme's penalty and the learned probabilities are saved; LRI: the reward of the
        // first path stays, the unfavourable second changes nothing.
        {"T --method dest --source A --dest C --scheme LRI --reward 0.5 --penalty 0.4 --quiet "
         "--save O/lri.plm",
         "", "lri-quiet.txt", 0},
        // An output over an input, under another name, is refused: the document stays as saved.
        {"O/lri.plm --method all --source A --history O/./lri.plm",
         "/./lri.plm' is an input of the run", "", 2},
        {"T --method file --paths O/lri.plm --sweep reward=0.1 --csv O//lri.plm",
         "is an input of the run", "", 2},
        {"O/lri.plm", "", "lri-saved.txt", 0},
        {"T --scheme LRP --reward 0.3 --save O/lrp.plm", "", "lrp.txt", 0},
        {"T --reward 0.3", "", "lrp.txt", 0}, // any setting given alone is taken
        {"T --model S", "", "triangle-s-model.txt", 0},
        {"O/lrp.plm", "", "lrp.txt", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.command), c.status) << c.command;
        EXPECT_TRUE(*c.err ? err.find(c.err) != std::string::npos : err.empty()) << err;
        if (c.golden) {
            EXPECT_EQ(out, *c.golden ? ReadFile(Data + "/cli/" + c.golden) : "") << c.command;
        }
    }
}

// Every setting a document stores is the default of its option, and a save keeps it: a sampled
// run of a document saved with the setting gives what the same run with the option gives, and
// saves the same document.
TEST_F(Runner, StoredSettingsAreTheDefaultsOfTheirOptions) {
    const std::string document = "T --method sample --source A --dest C --length A->B=uniform(1,3) "
                                 "--quiet --save O/doc.plm ";
    for (const std::string setting :
         {"--source B", "--dest B", "--samples 40", "--seed 5", "--until 0.6", "--threshold mean",
          "--action-set variable", "--scheme LRI", "--reward 0.3"}) {
        ASSERT_EQ(Run(document + setting), 0) << err;
        ASSERT_EQ(Run("O/doc.plm --method sample --json --quiet --save O/stored.plm"), 0) << err;
        const std::string stored = out;
        ASSERT_EQ(Run("O/doc.plm --method sample --json --quiet --save O/given.plm " + setting), 0)
            << err;
        EXPECT_EQ(stored, out) << setting;
        EXPECT_EQ(ReadFile(own + "/stored.plm"), ReadFile(own + "/given.plm")) << setting;
    }
}

// --length names a link as stored, or a simple or bidirectional one backwards, its nodes by label
// in any letter case or as #N; a later length of a link replaces an earlier one.
TEST_F(Runner, LengthsNameTheirLinks) {
    ASSERT_EQ(Run("T --length c->A=7 --length #2->a=5 --length a->b=4 --length B->a=5 --json"), 0)
        << err;
    EXPECT_NE(out.find("\"from\": \"A\", \"to\": \"B\", \"type\": 0, \"weight\": 5,"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"from\": \"A\", \"to\": \"C\", \"type\": 0, \"weight\": 7,"),
              std::string::npos)
        << out;
    EXPECT_EQ(Run("N --length B->D=1 --length D->B=1"), 2); // B->D is one-way
    EXPECT_EQ(err, "pathloom-run: no link D->B for --length\n");
}

// A drawn length on an enumeration, worked by hand: A-B-C (2) then A-C, whose length is always
// 0.5, are both rewarded (LRP 0.1), which leaves A-C at 0.505 and A-B at 0.495 from A.
TEST_F(Runner, AStochasticEnumerationReportsItsExperiment) {
    ASSERT_EQ(Run("T --method dest --source A --dest C --length A->C=discrete(0.5:1) --json"), 0)
        << err;
    EXPECT_NE(out.find("\"linkDraws\": 1, \"preferredPath\": \"A->C:\",\n"
                       "\"preferredPathProbability\": 0.50499999"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"expectedShortestPath\": \"A->C:\",\n\"expectedShortestCost\": 0.5, "
                       "\"convergedOnShortest\": true"),
              std::string::npos)
        << out;
}

// What the program does as a process: its exit status and its two streams.
TEST_F(Runner, ProcessOutputAndStatus) {
    const std::string triangle = "'" + Examples + "/triangle.plm'", uber = own + "/\xC3\xBC"
                                                                                 "ber.plm";
    const struct {
        std::string redirected; // arguments and redirections after the program
        int status;
        std::string err; // expected within standard error
        std::string out; // expected at the start of standard output
        std::string limit = "";
    } cases[] = {
        {triangle + " --json > /dev/full", 4, "could not be written", ""},
        {triangle + " >&-", 4, "could not be written", ""},
        // A file name is the file system's bytes, shown as they are.
        {"'" + uber + "'", 3, "'" + uber + "' could not be loaded.", ""},
        {triangle + " --help", 0, "", "usage: pathloom-run"},
        // Imports the memory cannot take: refused unread, or stopped where memory ran out.
        {"'" + own + "/big.graphml'", 3, "big.graphml' could not be read: it is too large", ""},
        {"'" + own + "/small.graphml'", 3, "small.graphml' could not be read: out of memory", "",
         "ulimit -v 100000; "},
    };
    std::ofstream(own + "/big.graphml").flush();
    std::ofstream(own + "/small.graphml").flush();
    fs::resize_file(own + "/big.graphml",
                    GraphFormats::LargestImport(GraphFormats::Format::GraphML, MachineMemory()) +
                        1);
    fs::resize_file(own + "/small.graphml", 150000000);
    for (const auto& c : cases) {
#ifdef __SANITIZE_ADDRESS__
        // The sanitizer reserves more address space than any such limit admits.
        if (!c.limit.empty())
            continue;
#endif
        std::ofstream(own + "/out").flush();
        const std::string command = c.limit + "'" + PATHLOOM_RUN + "' " + c.redirected + " 2>'" +
                                    own + "/err'" + (c.status == 4 ? "" : " >'" + own + "/out'");
        EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), c.status) << c.redirected;
        EXPECT_NE(ReadFile(own + "/err").find(c.err), std::string::npos) << c.redirected;
        EXPECT_EQ(ReadFile(own + "/out").rfind(c.out, 0), 0u) << c.redirected;
    }
}

TEST_F(Runner, ExamplesAreWhatTheGeneratorWrites) {
    ASSERT_EQ(std::system((std::string(PATHLOOM_MAKE_EXAMPLES) + " " + own).c_str()), 0);
    for (const char* name : {"triangle.plm", "network.plm", "s-model.plm", "s-model-paths.txt",
                             "one-way-grid.plm", "stochastic-roads.plm"})
        EXPECT_TRUE(ReadFile(own + "/" + name) == ReadFile(Examples + "/" + name))
            << name << " differs: run examples/generate.sh";
    EXPECT_EQ(std::distance(fs::directory_iterator(own), {}), 6);
}

} // namespace
