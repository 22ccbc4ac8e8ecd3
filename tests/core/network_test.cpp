#include "TestSupport.h"
#include "core/Error.h"
#include "core/network/NetworkModel.h"
#include "core/store/Database.h"
#include "core/store/ProjectDb.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace pluvane {
namespace {

using test::MakeWorkspace;
using test::TempFolder;

std::string str(std::string_view text) { return std::string(text); }

// An element row as the add dialogs leave it (position texts as given).
void insertElement(const Workspace& ws, ElementKind kind, const std::string& tag,
                   const std::string& left, const std::string& top,
                   const std::string& deleted = "False") {
    const ElementKindInfo& info = kindInfo(kind);
    Database db = Database::open(ws.ProjectPath);
    db.prepare("INSERT INTO " + str(info.table) + " (" + str(info.tagColumn) + ", " +
               str(info.nameColumn) + ", " + str(info.leftColumn) + ", " + str(info.topColumn) +
               ", Deleted) VALUES (?, ?, ?, ?, ?)")
        .bindAll(tag, "name of " + tag, left, top, deleted)
        .run();
}

void insertPlaced(const Workspace& ws, ElementKind kind, const Placement& placed) {
    insertElement(ws, kind, placed.tag, std::to_string(placed.left), std::to_string(placed.top));
}

void insertNode(const Workspace& ws, const std::string& x = "5040", const std::string& y = "5160",
                const std::string& intensityTable = "Atlanta") {
    Database db = Database::open(ws.ProjectPath);
    db.prepare("INSERT INTO TblNodeInfo (NodeName, IntensityTable, NodeX, NodeY) "
               "VALUES ('Outlet', ?, ?, ?)")
        .bindAll(intensityTable, x, y)
        .run();
}

// One text column of a query, row by row, read on a fresh connection.
std::vector<std::string> readColumn(const Workspace& ws, const std::string& sql) {
    Database db = Database::open(ws.ProjectPath, Database::Mode::ReadOnly);
    Statement query = db.prepare(sql);
    std::vector<std::string> values;
    while (query.step())
        values.push_back(query.text(0).value_or("<null>"));
    return values;
}

std::vector<std::string> tagsOf(const NetworkModel& model, ElementKind kind, bool visibleOnly) {
    std::vector<std::string> tags;
    const std::vector<CanvasImage>& images = model.images(kind);
    for (std::size_t i = 1; i < images.size(); ++i)
        if (!visibleOnly || images[i].visible)
            tags.push_back(images[i].tag);
    return tags;
}

// A project whose setup is done (it has its node row), loaded on the canvas.
class NetworkFixture : public ::testing::Test {
protected:
    void SetUp() override { insertNode(ws); }
    void load() { ASSERT_EQ(model.LoadNetwork(ws).result, LoadResult::Loaded); }

    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    NetworkModel model;
};

// ---------------------------------------------------------------------------------------------
// Placement: spawn points, tags, the drifting template, undoing a failed save.

using NetworkPlacement = NetworkFixture;

TEST_F(NetworkPlacement, FirstThreeBasinsOfANewProjectSpawnAt650_750_900) {
    load();
    const long long expectedLeft[] = {650, 750, 900};
    for (int n = 1; n <= 3; ++n) {
        const Placement placed = model.PlaceNewElement(ElementKind::Basin, ws);
        insertPlaced(ws, ElementKind::Basin, placed);
        EXPECT_EQ(placed.tag, "Basin" + std::to_string(n));
        EXPECT_EQ(placed.index, n);
        EXPECT_EQ(placed.left, expectedLeft[n - 1]);
        EXPECT_EQ(placed.top, 840);

        const CanvasImage& image = model.image(ElementKind::Basin, n);
        EXPECT_TRUE(image.visible);
        EXPECT_EQ(image.tag, placed.tag);
        EXPECT_FLOAT_EQ(image.left, static_cast<float>(expectedLeft[n - 1]));
        EXPECT_FLOAT_EQ(image.width, 690);
        EXPECT_FLOAT_EQ(image.height, 420);
    }
    EXPECT_FALSE(model.image(ElementKind::Basin, 0).visible);
    EXPECT_EQ(model.LiveCount(ElementKind::Basin), 3);
    EXPECT_EQ(model.connectors().size(), 3u);

    // The rows the dialog wrote come back as the same images.
    NetworkModel reopened;
    ASSERT_EQ(reopened.LoadNetwork(ws).result, LoadResult::Loaded);
    EXPECT_EQ(tagsOf(reopened, ElementKind::Basin, true),
              (std::vector<std::string>{"Basin1", "Basin2", "Basin3"}));
    EXPECT_FLOAT_EQ(reopened.image(ElementKind::Basin, 3).left, 900);
    EXPECT_FLOAT_EQ(reopened.image(ElementKind::Basin, 3).top, 840);
}

TEST_F(NetworkPlacement, EachKindHasItsOwnListAndSpawnRow) {
    load();
    const Placement surface = model.PlaceNewElement(ElementKind::Surface, ws);
    const Placement channel = model.PlaceNewElement(ElementKind::Channel, ws);
    const Placement basin = model.PlaceNewElement(ElementKind::Basin, ws);

    EXPECT_EQ(surface.tag, "Surface1");
    EXPECT_EQ(surface.index, 1);
    EXPECT_EQ(surface.left, 650);
    EXPECT_EQ(surface.top, 1680);
    EXPECT_FLOAT_EQ(model.image(ElementKind::Surface, 1).height, 405);

    EXPECT_EQ(channel.tag, "Channel1");
    EXPECT_EQ(channel.left, 650);
    EXPECT_EQ(channel.top, 2520);
    EXPECT_FLOAT_EQ(model.image(ElementKind::Channel, 1).height, 300);

    EXPECT_EQ(basin.tag, "Basin1");
    EXPECT_EQ(basin.left, 650);
    EXPECT_EQ(basin.top, 840);

    for (ElementKind kind : kLoadOrder)
        EXPECT_EQ(model.images(kind).size(), 2u);
    EXPECT_EQ(model.images(ElementKind::Node).size(), 1u);
    EXPECT_THROW(model.PlaceNewElement(ElementKind::Node, std::set<std::string>{}), Error);
}

TEST_F(NetworkPlacement, DriftedTemplateIsSentHomeBeforeTheNextSpawn) {
    load();
    // 600 + 50 * (1 + ... + 19) = 10100: nineteen placements carry the template past 10000.
    for (int n = 1; n <= 19; ++n)
        model.PlaceNewElement(ElementKind::Basin, std::set<std::string>{});
    EXPECT_FLOAT_EQ(model.image(ElementKind::Basin, 0).left, 10100);

    const Placement twentieth = model.PlaceNewElement(ElementKind::Basin, std::set<std::string>{});
    EXPECT_EQ(twentieth.index, 20);
    EXPECT_EQ(twentieth.left, 480 + 50 * 20);
    EXPECT_EQ(twentieth.top, 480);
}

TEST_F(NetworkPlacement, HomeDependsOnTheKindAndOnlyBeyond10000) {
    load();
    struct Case {
        ElementKind kind;
        float templateLeft;
        long long left, top;
    };
    const Case cases[] = {
        {ElementKind::Basin, 10000.0f, 10050, 840},  // at the edge: not yet drifted
        {ElementKind::Channel, 10000.5f, 530, 480},  // 480 + 50 * 1
        {ElementKind::Surface, 20000.0f, 650, 1680}, // shallow flow's home is 600, 1680
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(str(kindInfo(c.kind).tagWord));
        const CanvasImage spawn = model.image(c.kind, 0);
        model.MoveImage(c.kind, 0, c.templateLeft, spawn.top);
        const Placement placed = model.PlaceNewElement(c.kind, std::set<std::string>{});
        EXPECT_EQ(placed.left, c.left);
        EXPECT_EQ(placed.top, c.top);
    }
}

TEST_F(NetworkPlacement, IndexTagTakenByARowAfterPurgeTakesTheNextFreeNumber) {
    insertElement(ws, ElementKind::Basin, "Basin1", "650", "840");
    insertElement(ws, ElementKind::Basin, "Basin2", "750", "840");
    load();
    model.Select(ElementKind::Basin, 1);
    ASSERT_TRUE(model.DeleteElement(ws));
    PurgeDeletedElements(ws);
    load();
    ASSERT_EQ(tagsOf(model, ElementKind::Basin, false), std::vector<std::string>{"Basin2"});

    // The new image is index 2, and Basin2 is still in the table.
    const Placement placed = model.PlaceNewElement(ElementKind::Basin, ws);
    EXPECT_EQ(placed.index, 2);
    EXPECT_EQ(placed.tag, "Basin3");
    insertPlaced(ws, ElementKind::Basin, placed);

    const Placement next = model.PlaceNewElement(ElementKind::Basin, ws);
    EXPECT_EQ(next.index, 3);
    EXPECT_EQ(next.tag, "Basin4");
    insertPlaced(ws, ElementKind::Basin, next);

    const std::vector<std::string> tags =
        readColumn(ws, "SELECT BasinTag FROM TblBasinInfo ORDER BY rowid");
    EXPECT_EQ(tags, (std::vector<std::string>{"Basin2", "Basin3", "Basin4"}));
}

TEST_F(NetworkPlacement, TagAvoidsEveryRowAndEveryImage) {
    load();
    // Table only: the smallest free number above the index.
    EXPECT_EQ(model
                  .PlaceNewElement(ElementKind::Channel,
                                   std::set<std::string>{"Channel1", "Channel2", "Channel4"})
                  .tag,
              "Channel3");

    // Rows written to the file after the load are still seen.
    insertElement(ws, ElementKind::Surface, "Surface1", "0", "0");
    EXPECT_EQ(model.PlaceNewElement(ElementKind::Surface, ws).tag, "Surface2");
}

TEST_F(NetworkPlacement, TagAvoidsTagsOfLoadedImages) {
    // Images follow row order, not tag numbers: image 1 carries Basin3, so the index tag of
    // the third image is taken even when the table is not consulted.
    insertElement(ws, ElementKind::Basin, "Basin3", "0", "0");
    insertElement(ws, ElementKind::Basin, "Basin1", "0", "0");
    load();
    EXPECT_EQ(model.image(ElementKind::Basin, 1).tag, "Basin3");
    EXPECT_EQ(model.PlaceNewElement(ElementKind::Basin, std::set<std::string>{}).tag, "Basin4");
}

TEST_F(NetworkPlacement, CancelPlacementLeavesTheListAsBefore) {
    load();
    insertPlaced(ws, ElementKind::Basin, model.PlaceNewElement(ElementKind::Basin, ws));
    const std::vector<CanvasImage> before = model.images(ElementKind::Basin);
    const std::size_t linesBefore = model.connectors().size();

    const Placement failed = model.PlaceNewElement(ElementKind::Basin, ws);
    EXPECT_FALSE(model.CancelPlacement(ElementKind::Basin, failed.index - 1));
    EXPECT_FALSE(model.CancelPlacement(ElementKind::Surface, failed.index));
    EXPECT_EQ(model.images(ElementKind::Basin).size(), before.size() + 1);

    ASSERT_TRUE(model.CancelPlacement(ElementKind::Basin, failed.index));
    ASSERT_EQ(model.images(ElementKind::Basin).size(), before.size());
    EXPECT_FLOAT_EQ(model.image(ElementKind::Basin, 0).left, before[0].left);
    EXPECT_FLOAT_EQ(model.image(ElementKind::Basin, 0).top, before[0].top);
    EXPECT_EQ(model.connectors().size(), linesBefore);
    EXPECT_FALSE(model.CancelPlacement(ElementKind::Basin, failed.index)); // only once

    // The retried save lands exactly where the failed one would have.
    const Placement retried = model.PlaceNewElement(ElementKind::Basin, ws);
    EXPECT_EQ(retried.index, failed.index);
    EXPECT_EQ(retried.tag, failed.tag);
    EXPECT_EQ(retried.left, failed.left);
}

TEST_F(NetworkPlacement, CancelAfterTheTemplateWentHomeRestoresTheDriftedSpot) {
    load();
    model.MoveImage(ElementKind::Channel, 0, 12000, 2520);
    const Placement placed = model.PlaceNewElement(ElementKind::Channel, std::set<std::string>{});
    EXPECT_EQ(placed.left, 530);
    ASSERT_TRUE(model.CancelPlacement(ElementKind::Channel, placed.index));
    EXPECT_FLOAT_EQ(model.image(ElementKind::Channel, 0).left, 12000);
    EXPECT_FLOAT_EQ(model.image(ElementKind::Channel, 0).top, 2520);
}

// ---------------------------------------------------------------------------------------------
// The limit of 20 live elements per kind.

using NetworkLimit = NetworkFixture;

TEST_F(NetworkLimit, TwentyLiveRefusesAndADeleteFreesAPlace) {
    for (int n = 1; n <= 19; ++n)
        insertElement(ws, ElementKind::Basin, "Basin" + std::to_string(n), "650", "840");
    load();
    EXPECT_TRUE(model.CheckElementLimit(ElementKind::Basin)); // 19 live

    insertPlaced(ws, ElementKind::Basin, model.PlaceNewElement(ElementKind::Basin, ws));
    EXPECT_EQ(model.LiveCount(ElementKind::Basin), 20);
    EXPECT_FALSE(model.CheckElementLimit(ElementKind::Basin));
    EXPECT_EQ(kindInfo(ElementKind::Basin).limitMessage, "Maximum 20 basins allowed");
    // Each kind counts for itself.
    EXPECT_TRUE(model.CheckElementLimit(ElementKind::Surface));
    EXPECT_TRUE(model.CheckElementLimit(ElementKind::Channel));
    EXPECT_FALSE(model.CheckElementLimit(ElementKind::Node));

    model.Select(ElementKind::Basin, 7);
    ASSERT_TRUE(model.DeleteElement(ws));
    EXPECT_EQ(model.LiveCount(ElementKind::Basin), 19);
    EXPECT_TRUE(model.CheckElementLimit(ElementKind::Basin));
}

TEST_F(NetworkLimit, DeletedRowsInTheFileDoNotCount) {
    for (int n = 1; n <= 19; ++n)
        insertElement(ws, ElementKind::Channel, "Channel" + std::to_string(n), "0", "0");
    for (int n = 20; n <= 25; ++n)
        insertElement(ws, ElementKind::Channel, "Channel" + std::to_string(n), "0", "0", "True");
    load();
    EXPECT_EQ(model.images(ElementKind::Channel).size(), 26u);
    EXPECT_EQ(model.LiveCount(ElementKind::Channel), 19);
    EXPECT_TRUE(model.CheckElementLimit(ElementKind::Channel));

    insertElement(ws, ElementKind::Channel, "Channel26", "0", "0");
    load();
    EXPECT_FALSE(model.CheckElementLimit(ElementKind::Channel));
}

// ---------------------------------------------------------------------------------------------
// Loading the canvas from the project file.

class NetworkLoad : public ::testing::Test {
protected:
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    NetworkModel model;
};

TEST_F(NetworkLoad, FreshTemplateNeedsSetupAndLeavesNoElements) {
    insertElement(ws, ElementKind::Basin, "Basin1", "650", "840");
    model.SelectedElement = ElementRef{ElementKind::Basin, 1, "Basin1"};

    const LoadedNetwork loaded = model.LoadNetwork(ws);
    EXPECT_EQ(loaded.result, LoadResult::NeedsSetup);
    for (ElementKind kind : kLoadOrder)
        EXPECT_EQ(model.images(kind).size(), 1u);
    EXPECT_TRUE(model.connectors().empty());
    EXPECT_EQ(loaded.intensityTable, "");
    EXPECT_FALSE(model.SelectedElement.has_value());
}

TEST_F(NetworkLoad, ProjectWithoutElementsShowsOnlyTheNodeAtItsStoredPlace) {
    insertNode(ws, "3000", "2000.5", "Tampa");
    const LoadedNetwork loaded = model.LoadNetwork(ws);
    ASSERT_EQ(loaded.result, LoadResult::Loaded);

    EXPECT_TRUE(model.connectors().empty());
    EXPECT_EQ(loaded.intensityTable, "Tampa");
    const CanvasImage& node = model.node();
    EXPECT_TRUE(node.visible);
    EXPECT_FLOAT_EQ(node.left, 3000);
    EXPECT_FLOAT_EQ(node.top, 2000.5);
    EXPECT_FLOAT_EQ(node.width, 855);
    EXPECT_FLOAT_EQ(node.height, 555);
    for (ElementKind kind : kLoadOrder) {
        ASSERT_EQ(model.images(kind).size(), 1u);
        EXPECT_FALSE(model.image(kind, 0).visible);
        EXPECT_EQ(model.LiveCount(kind), 0);
    }
}

TEST_F(NetworkLoad, RowsBecomeImagesInStoredOrderDeletedOnesHidden) {
    insertNode(ws);
    insertElement(ws, ElementKind::Basin, "Basin4", "1000", "2000");
    insertElement(ws, ElementKind::Basin, "Basin1", "1100.5", "2100", "True");
    insertElement(ws, ElementKind::Basin, "Basin2", " 1200 ft", "abc");
    insertElement(ws, ElementKind::Basin, "Basin3", "0", "0", "false"); // only "False" is live
    insertElement(ws, ElementKind::Surface, "Surface1", "300", "400", "True");
    insertElement(ws, ElementKind::Channel, "Channel1", "500", "600");
    model.SelectedElement = ElementRef{ElementKind::Node, 0, ""};
    ASSERT_EQ(model.LoadNetwork(ws).result, LoadResult::Loaded);
    EXPECT_FALSE(model.SelectedElement.has_value());

    ASSERT_EQ(model.images(ElementKind::Basin).size(), 5u);
    EXPECT_EQ(tagsOf(model, ElementKind::Basin, false),
              (std::vector<std::string>{"Basin4", "Basin1", "Basin2", "Basin3"}));
    EXPECT_EQ(tagsOf(model, ElementKind::Basin, true),
              (std::vector<std::string>{"Basin4", "Basin2"}));
    EXPECT_FLOAT_EQ(model.image(ElementKind::Basin, 2).left, 1100.5);
    EXPECT_FLOAT_EQ(model.image(ElementKind::Basin, 3).left, 1200); // lenient texts
    EXPECT_FLOAT_EQ(model.image(ElementKind::Basin, 3).top, 0);
    EXPECT_FALSE(model.image(ElementKind::Surface, 1).visible);
    EXPECT_TRUE(model.image(ElementKind::Channel, 1).visible);

    // Hidden images get no connector.
    ASSERT_EQ(model.connectors().size(), 3u);
    for (const Connector& line : model.connectors())
        EXPECT_TRUE(model.image(line.kind, line.index).visible);
}

TEST_F(NetworkLoad, ReloadReplacesThePreviousCanvasAndAFailedLoadKeepsIt) {
    insertNode(ws);
    insertElement(ws, ElementKind::Basin, "Basin1", "0", "0");
    ASSERT_EQ(model.LoadNetwork(ws).result, LoadResult::Loaded);
    model.PlaceNewElement(ElementKind::Basin, std::set<std::string>{});
    model.MoveImage(ElementKind::Basin, 0, 9999, 9999);
    ASSERT_EQ(model.LoadNetwork(ws).result, LoadResult::Loaded);
    EXPECT_EQ(model.images(ElementKind::Basin).size(), 2u);
    EXPECT_FLOAT_EQ(model.image(ElementKind::Basin, 0).left, 600); // template back at design
    EXPECT_FLOAT_EQ(model.image(ElementKind::Basin, 0).top, 840);

    Workspace broken = ws;
    broken.ProjectPath = folder.file("missing.rmt");
    EXPECT_THROW(model.LoadNetwork(broken), Error);
    EXPECT_EQ(tagsOf(model, ElementKind::Basin, true), std::vector<std::string>{"Basin1"});
    EXPECT_EQ(model.connectors().size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Connectors: centre of each visible element to the node's centre.

using NetworkConnectors = NetworkFixture;

TEST_F(NetworkConnectors, RunFromElementCentresToTheNodeCentreInListOrder) {
    insertElement(ws, ElementKind::Surface, "Surface1", "100", "200");
    insertElement(ws, ElementKind::Basin, "Basin1", "1000", "1000");
    insertElement(ws, ElementKind::Channel, "Channel1", "2000", "3000");
    insertElement(ws, ElementKind::Basin, "Basin2", "0", "0", "True");
    insertElement(ws, ElementKind::Basin, "Basin3", "10", "20");
    load();

    struct Line {
        ElementKind kind;
        int index;
        float x1, y1;
    };
    // Centres: left + width / 2, top + height / 2 with the kind's picture size.
    const Line expected[] = {
        {ElementKind::Basin, 1, 1345, 1210},
        {ElementKind::Basin, 3, 355, 230},
        {ElementKind::Channel, 1, 2345, 3150},
        {ElementKind::Surface, 1, 445, 402.5},
    };
    const std::vector<Connector>& lines = model.connectors();
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].kind, expected[i].kind);
        EXPECT_EQ(lines[i].index, expected[i].index);
        EXPECT_FLOAT_EQ(lines[i].x1, expected[i].x1);
        EXPECT_FLOAT_EQ(lines[i].y1, expected[i].y1);
        EXPECT_FLOAT_EQ(lines[i].x2, 5467.5); // 5040 + 855 / 2
        EXPECT_FLOAT_EQ(lines[i].y2, 5437.5); // 5160 + 555 / 2
    }
}

TEST_F(NetworkConnectors, FollowEveryMoveOfAnElementOrTheNode) {
    insertElement(ws, ElementKind::Basin, "Basin1", "1000", "1000");
    insertElement(ws, ElementKind::Channel, "Channel1", "2000", "3000");
    load();

    model.MoveImage(ElementKind::Basin, 1, 1500.5, 700);
    ASSERT_EQ(model.connectors().size(), 2u);
    EXPECT_FLOAT_EQ(model.connectors()[0].x1, 1845.5);
    EXPECT_FLOAT_EQ(model.connectors()[0].y1, 910);
    EXPECT_FLOAT_EQ(model.connectors()[1].x1, 2345); // the other line stays

    model.MoveImage(ElementKind::Node, 0, 100, 200);
    for (const Connector& line : model.connectors()) {
        EXPECT_FLOAT_EQ(line.x2, 527.5);
        EXPECT_FLOAT_EQ(line.y2, 477.5);
    }
    EXPECT_THROW(model.MoveImage(ElementKind::Node, 1, 0, 0), Error);
    EXPECT_THROW(model.MoveImage(ElementKind::Basin, 2, 0, 0), Error);
}

// ---------------------------------------------------------------------------------------------
// Selection and the selection border.

using NetworkSelect = NetworkFixture;

TEST_F(NetworkSelect, PressedImageIsTheOnlyBorderedOne) {
    insertElement(ws, ElementKind::Basin, "Basin1", "0", "0");
    insertElement(ws, ElementKind::Surface, "Surface1", "0", "0");
    load();

    auto borderedCount = [&] {
        int count = 0;
        for (ElementKind kind :
             {ElementKind::Basin, ElementKind::Surface, ElementKind::Channel, ElementKind::Node})
            for (const CanvasImage& image : model.images(kind))
                count += image.bordered ? 1 : 0;
        return count;
    };

    model.Select(ElementKind::Surface, 1);
    ASSERT_TRUE(model.SelectedElement.has_value());
    EXPECT_EQ(model.SelectedElement->kind, ElementKind::Surface);
    EXPECT_EQ(model.SelectedElement->index, 1);
    EXPECT_EQ(model.SelectedElement->tag, "Surface1");
    EXPECT_TRUE(model.image(ElementKind::Surface, 1).bordered);
    EXPECT_EQ(borderedCount(), 1);

    model.Select(ElementKind::Node, 0);
    EXPECT_EQ(model.SelectedElement->tag, "");
    EXPECT_TRUE(model.node().bordered);
    EXPECT_FALSE(model.image(ElementKind::Surface, 1).bordered);
    EXPECT_EQ(borderedCount(), 1);

    EXPECT_THROW(model.Select(ElementKind::Basin, 5), Error);
}

// ---------------------------------------------------------------------------------------------
// Deleting the selected element.

using NetworkDelete = NetworkFixture;

TEST_F(NetworkDelete, MarksTheRowThenPurgeAndReloadShowOnlyLiveElements) {
    insertElement(ws, ElementKind::Channel, "Channel1", "0", "0");
    insertElement(ws, ElementKind::Channel, "Channel2", "100", "100");
    insertElement(ws, ElementKind::Channel, "Channel3", "200", "200");
    load();

    model.Select(ElementKind::Channel, 2);
    ASSERT_TRUE(model.DeleteElement(ws));
    EXPECT_FALSE(model.image(ElementKind::Channel, 2).visible);
    EXPECT_EQ(model.images(ElementKind::Channel).size(), 4u); // the index is not reused
    ASSERT_EQ(model.connectors().size(), 2u);
    EXPECT_EQ(model.connectors()[0].index, 1);
    EXPECT_EQ(model.connectors()[1].index, 3);

    EXPECT_EQ(readColumn(ws, "SELECT Deleted FROM TblChannelInfo ORDER BY rowid"),
              (std::vector<std::string>{"False", "True", "False"}));

    PurgeDeletedElements(ws);
    EXPECT_EQ(readColumn(ws, "SELECT ChannelTag FROM TblChannelInfo ORDER BY rowid"),
              (std::vector<std::string>{"Channel1", "Channel3"}));
    load();
    EXPECT_EQ(tagsOf(model, ElementKind::Channel, false),
              (std::vector<std::string>{"Channel1", "Channel3"}));
    EXPECT_FLOAT_EQ(model.image(ElementKind::Channel, 2).left, 200);
}

TEST_F(NetworkDelete, TagWithQuotesIsBoundNotSpliced) {
    const std::string odd = "Surface1' OR '1'='1";
    insertElement(ws, ElementKind::Surface, odd, "0", "0");
    insertElement(ws, ElementKind::Surface, "Surface2", "0", "0");
    insertElement(ws, ElementKind::Surface, "O'Brien", "0", "0");
    load();

    model.Select(ElementKind::Surface, 1);
    ASSERT_TRUE(model.DeleteElement(ws));
    model.Select(ElementKind::Surface, 3);
    ASSERT_TRUE(model.DeleteElement(ws));
    EXPECT_EQ(readColumn(ws, "SELECT Deleted FROM TblSurfaceInfo ORDER BY rowid"),
              (std::vector<std::string>{"True", "False", "True"}));
}

TEST_F(NetworkDelete, TheNodeAndAnEmptySelectionDeleteNothing) {
    insertElement(ws, ElementKind::Basin, "Basin1", "0", "0");
    load();
    EXPECT_FALSE(model.DeleteElement(ws));
    model.Select(ElementKind::Node, 0);
    EXPECT_FALSE(model.DeleteElement(ws));
    EXPECT_TRUE(model.node().visible);
    EXPECT_EQ(readColumn(ws, "SELECT Deleted FROM TblBasinInfo"),
              std::vector<std::string>{"False"});
    EXPECT_EQ(readColumn(ws, "SELECT COUNT(*) FROM TblNodeInfo"), std::vector<std::string>{"1"});
}

TEST_F(NetworkDelete, FailedWriteKeepsTheImageInView) {
    insertElement(ws, ElementKind::Basin, "Basin1", "0", "0");
    load();
    model.Select(ElementKind::Basin, 1);

    Workspace gone = ws;
    gone.ProjectPath = folder.file("moved-away.rmt");
    EXPECT_THROW(model.DeleteElement(gone), Error);
    EXPECT_TRUE(model.image(ElementKind::Basin, 1).visible);
    EXPECT_EQ(model.connectors().size(), 1u);

    // A selection that names no image of the canvas is refused before anything is written.
    model.SelectedElement = ElementRef{ElementKind::Basin, 1, "Basin9"};
    EXPECT_THROW(model.DeleteElement(ws), Error);
    model.SelectedElement = ElementRef{ElementKind::Basin, 4, "Basin1"};
    EXPECT_THROW(model.DeleteElement(ws), Error);
    EXPECT_EQ(readColumn(ws, "SELECT Deleted FROM TblBasinInfo"),
              std::vector<std::string>{"False"});
}

// ---------------------------------------------------------------------------------------------
// Writing a released image's position.

using NetworkWritePosition = NetworkFixture;

TEST_F(NetworkWritePosition, WritesTheShortestTextOfTheSelectedRowOnly) {
    insertElement(ws, ElementKind::Basin, "Basin1", "650", "840");
    insertElement(ws, ElementKind::Basin, "Basin2", "750", "840");
    insertElement(ws, ElementKind::Channel, "Channel1", "650", "2520");
    load();

    model.MoveImage(ElementKind::Basin, 2, 650.5f, 1234.1f);
    model.WritePosition(ws, ElementKind::Basin, 2);
    EXPECT_EQ(readColumn(ws, "SELECT BasinX || ',' || BasinY FROM TblBasinInfo ORDER BY rowid"),
              (std::vector<std::string>{"650,840", "650.5,1234.1"}));

    model.MoveImage(ElementKind::Channel, 1, 700.25f, 2600);
    model.WritePosition(ws, ElementKind::Channel, 1);
    EXPECT_EQ(readColumn(ws, "SELECT ChannelLeft || ',' || ChannelTop FROM TblChannelInfo"),
              std::vector<std::string>{"700.25,2600"});

    // A release without a move rewrites the same position; a reopened file shows the moves.
    model.WritePosition(ws, ElementKind::Basin, 1);
    NetworkModel reopened;
    ASSERT_EQ(reopened.LoadNetwork(ws).result, LoadResult::Loaded);
    EXPECT_FLOAT_EQ(reopened.image(ElementKind::Basin, 1).left, 650);
    EXPECT_FLOAT_EQ(reopened.image(ElementKind::Basin, 2).left, 650.5f);
    EXPECT_FLOAT_EQ(reopened.image(ElementKind::Basin, 2).top, 1234.1f);
    EXPECT_FLOAT_EQ(reopened.image(ElementKind::Channel, 1).left, 700.25f);
}

TEST_F(NetworkWritePosition, NodePositionGoesIntoEveryNodeRow) {
    insertNode(ws, "1", "2", "Second");
    EXPECT_EQ(model.LoadNetwork(ws).intensityTable, "Atlanta"); // the first node row counts
    model.MoveImage(ElementKind::Node, 0, 4000.5f, 3000);
    model.WritePosition(ws, ElementKind::Node, 0);
    EXPECT_EQ(readColumn(ws, "SELECT NodeX || ',' || NodeY FROM TblNodeInfo ORDER BY rowid"),
              (std::vector<std::string>{"4000.5,3000", "4000.5,3000"}));
}

} // namespace
} // namespace pluvane
