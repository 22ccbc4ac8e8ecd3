// The document text handed to the PDF helper: it reads back equal, and a damaged one is refused.
#include "core/Error.h"
#include "core/report/DocumentFile.h"
#include "core/report/ReportBuilder.h"
#include "report_support.h"

#include <gtest/gtest.h>

using namespace pluvane;
using namespace pluvane::test;

namespace {

TEST(DocumentFile, TheWorkedReportReadsBackEqual) {
    TempFolder folder;
    const Workspace ws = MakeWorkedProject(folder);
    const RichDocument report = SolveAndRender(ws).document;
    EXPECT_EQ(ParseDocument(SerializeDocument(report)), report);
}

TEST(DocumentFile, OddTextsAndFormatsReadBackEqual) {
    RichDocument document;
    document.paragraphs = {Paragraph{-5, 200, {}, {}}, Paragraph{0, 0, {666, 666, 1998}, {}}};
    document.paragraphs[1].runs = {pluvane::Run{"tab\there \xC3\xA9 \n R 1 2",
                                                CharFormat{10.5, true, false, true, {1, 2, 255}}},
                                   pluvane::Run{"", CharFormat{}}};
    document.paragraphs[0].hangingIndent = 3700;
    document.paragraphs[1].keepWithNext = true;
    document.furniture = {true, "Lot \"4\"\nNorth", ""};
    EXPECT_EQ(ParseDocument(SerializeDocument(document)), document);
}

class DamagedDocument : public ::testing::TestWithParam<const char*> {};

TEST_P(DamagedDocument, IsRefused) { EXPECT_THROW(ParseDocument(GetParam()), Error); }

INSTANTIATE_TEST_SUITE_P(
    Texts, DamagedDocument,
    ::testing::Values("", "pluvane-document 1\n", "pluvane-document 2\nP 0 0 0\n",
                      "pluvane-document 1\nR 10 0 0 0 0 0 0 1\nx\n",
                      "pluvane-document 1\nP 0 0 0 0 2 100\n",
                      "pluvane-document 1\nP 0 0 0 0 0\nR 10 2 0 0 0 0 0 1\nx\n",
                      "pluvane-document 1\nP 0 0 0 0 0\nR 10 0 0 0 0 0 256 1\nx\n",
                      "pluvane-document 1\nP 0 0 0 0 0\nR 10 0 0 0 0 0 0 9\nx\n",
                      "pluvane-document 1\nP 0 0 0 0 0\nQ\n"));

} // namespace
