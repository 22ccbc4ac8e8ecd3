#include "core/network/NetworkModel.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/network/NetworkMessages.h"
#include "core/store/ProjectDb.h"
#include "core/text/NumberText.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace pluvane {

namespace {

// A stored position far off any sheet (a damaged or hand-edited file) is drawn at the edge of
// a generous sheet rather than overflowing single precision and the later rounding.
constexpr double kMaxStoredTwips = 10'000'000.0;

float storedPosition(double twips) {
    return static_cast<float>(std::clamp(twips, -kMaxStoredTwips, kMaxStoredTwips));
}

constexpr std::size_t slot(ElementKind kind) { return static_cast<std::size_t>(kind); }

// A template drifted this far right is off any sensible canvas and goes back home.
constexpr float kDriftLimit = 10000;
// Each new element spawns this much further right per image already in the list.
constexpr float kSpawnStep = 50;

void requireElementKind(ElementKind kind) {
    if (kind == ElementKind::Node)
        throw Error(std::string(kOutletNotAddable));
}

std::string column(std::string_view name) { return std::string(name); }

// The tag word and the new index, unless a row or an image already carries it; then the
// smallest number above the index that neither does, so tags stay unique in the table and
// no two images can ever answer to one tag.
std::string chooseTag(std::string_view word, int index, const std::set<std::string>& tagsInTable,
                      const std::vector<CanvasImage>& images) {
    std::set<std::string> taken = tagsInTable;
    for (const CanvasImage& image : images)
        if (!image.tag.empty())
            taken.insert(image.tag);
    for (long long number = index;; ++number) {
        std::string tag = std::string(word) + std::to_string(number);
        if (!taken.contains(tag))
            return tag;
    }
}

} // namespace

NetworkModel::NetworkModel() : m_lists(freshLists()) { Connect_Basin_Node(); }

std::array<std::vector<CanvasImage>, 4> NetworkModel::freshLists() {
    std::array<std::vector<CanvasImage>, 4> lists;
    for (const ElementKindInfo& info : kElementKinds) {
        CanvasImage image;
        image.left = info.templateGeometry.left;
        image.top = info.templateGeometry.top;
        image.width = info.templateGeometry.width;
        image.height = info.templateGeometry.height;
        image.visible = info.kind == ElementKind::Node; // templates stay hidden
        lists[slot(info.kind)].push_back(image);
    }
    return lists;
}

std::vector<CanvasImage>& NetworkModel::list(ElementKind kind) { return m_lists[slot(kind)]; }

const std::vector<CanvasImage>& NetworkModel::images(ElementKind kind) const {
    return m_lists[slot(kind)];
}

const CanvasImage& NetworkModel::image(ElementKind kind, int index) const {
    const std::vector<CanvasImage>& images = m_lists[slot(kind)];
    if (index < 0 || static_cast<std::size_t>(index) >= images.size())
        throw Error(NoCanvasImageMessage(kindInfo(kind).imageList, index));
    return images[static_cast<std::size_t>(index)];
}

CanvasImage& NetworkModel::imageAt(ElementKind kind, int index) {
    return const_cast<CanvasImage&>(std::as_const(*this).image(kind, index));
}

LoadedNetwork NetworkModel::LoadNetwork(const Workspace& ws) {
    // Built aside and swapped in at the end, so a failed read leaves the canvas as it was.
    std::array<std::vector<CanvasImage>, 4> lists = freshLists();
    std::optional<std::string> intensityTable;

    Database db = OpenProjectDb(ws);
    for (ElementKind kind : kLoadOrder) {
        const ElementKindInfo& info = kindInfo(kind);
        Statement query = db.prepare("SELECT " + column(info.tagColumn) + ", " +
                                     column(info.leftColumn) + ", " + column(info.topColumn) +
                                     ", Deleted FROM " + column(info.table) + " ORDER BY rowid");
        std::vector<CanvasImage>& images = lists[slot(kind)];
        for (const Record& row : readAll(query)) {
            CanvasImage image = images[0];
            image.top = storedPosition(row.number(info.topColumn));
            image.left = storedPosition(row.number(info.leftColumn));
            image.tag = row.text(info.tagColumn);
            image.visible = row.get("Deleted") == std::optional<std::string>("False");
            images.push_back(std::move(image));
        }
    }
    {
        Statement query = db.prepare(
            "SELECT NodeX, NodeY, IntensityTable FROM TblNodeInfo ORDER BY rowid LIMIT 1");
        const std::vector<Record> rows = readAll(query);
        if (!rows.empty()) {
            CanvasImage& node = lists[slot(ElementKind::Node)][0];
            node.top = storedPosition(rows[0].number("NodeY"));
            node.left = storedPosition(rows[0].number("NodeX"));
            intensityTable = rows[0].text("IntensityTable");
        }
    }
    CloseDb(db);

    m_lastPlacement = {};
    SelectedElement.reset();
    if (!intensityTable) {
        m_lists = freshLists();
        Connect_Basin_Node();
        return {LoadResult::NeedsSetup, ""};
    }
    m_lists = std::move(lists);
    Connect_Basin_Node();
    return {LoadResult::Loaded, *intensityTable};
}

void NetworkModel::Connect_Basin_Node() {
    const CanvasImage& node = this->node();
    m_connectors.clear();
    for (ElementKind kind : kLoadOrder) {
        const std::vector<CanvasImage>& images = m_lists[slot(kind)];
        for (std::size_t i = 0; i < images.size(); ++i)
            if (images[i].visible)
                m_connectors.push_back({kind, static_cast<int>(i), images[i].centreX(),
                                        images[i].centreY(), node.centreX(), node.centreY()});
    }
}

int NetworkModel::LiveCount(ElementKind kind) const {
    int count = 0;
    for (const CanvasImage& image : m_lists[slot(kind)])
        if (image.visible)
            ++count;
    return count;
}

bool NetworkModel::CheckElementLimit(ElementKind kind) const {
    if (kind == ElementKind::Node)
        return false;
    return LiveCount(kind) <= kElementLimit - 1;
}

Placement NetworkModel::PlaceNewElement(ElementKind kind,
                                        const std::set<std::string>& tagsInTable) {
    requireElementKind(kind);
    const ElementKindInfo& info = kindInfo(kind);
    std::vector<CanvasImage>& images = list(kind);
    CanvasImage& spawn = images[0];
    const int index = static_cast<int>(images.size());
    const LastPlacement undo{index, spawn.left, spawn.top};

    if (spawn.left > kDriftLimit) {
        spawn.top = info.homeTop;
        spawn.left = info.homeLeft;
    }
    spawn.left += kSpawnStep * static_cast<float>(index);

    CanvasImage image = spawn;
    image.visible = true;
    image.bordered = false;
    image.tag = chooseTag(info.tagWord, index, tagsInTable, images);
    images.push_back(image);
    m_lastPlacement[slot(kind)] = undo;
    Connect_Basin_Node();
    return {image.tag, RoundHalfEven(image.left), RoundHalfEven(image.top), index};
}

Placement NetworkModel::PlaceNewElement(ElementKind kind, const Workspace& ws) {
    requireElementKind(kind);
    const ElementKindInfo& info = kindInfo(kind);
    std::set<std::string> tags;
    Database db = OpenProjectDb(ws);
    {
        Statement query =
            db.prepare("SELECT " + column(info.tagColumn) + " FROM " + column(info.table));
        while (query.step())
            if (std::optional<std::string> tag = query.text(0))
                tags.insert(std::move(*tag));
    }
    CloseDb(db);
    return PlaceNewElement(kind, tags);
}

bool NetworkModel::CancelPlacement(ElementKind kind, int index) {
    std::optional<LastPlacement>& last = m_lastPlacement[slot(kind)];
    std::vector<CanvasImage>& images = list(kind);
    if (!last || last->index != index || static_cast<std::size_t>(index) + 1 != images.size())
        return false;
    images.pop_back();
    images[0].left = last->templateLeft;
    images[0].top = last->templateTop;
    last.reset();
    Connect_Basin_Node();
    return true;
}

bool NetworkModel::DeleteElement(const Workspace& ws) {
    if (!SelectedElement || SelectedElement->kind == ElementKind::Node)
        return false;
    const ElementRef& selected = *SelectedElement;
    CanvasImage& image = imageAt(selected.kind, selected.index);
    if (selected.index == 0 || image.tag != selected.tag)
        throw Error(SelectedNotOnCanvasMessage(selected.tag));

    const ElementKindInfo& info = kindInfo(selected.kind);
    Database db = OpenProjectDb(ws);
    db.prepare("UPDATE " + column(info.table) + " SET Deleted = 'True' WHERE " +
               column(info.tagColumn) + " = ?")
        .bind(1, selected.tag)
        .run();
    CloseDb(db);

    // Hidden only once the row is marked, so a failed write leaves the element in view.
    image.visible = false;
    Connect_Basin_Node();
    return true;
}

void NetworkModel::SetElementShown(ElementKind kind, int index, bool shown) {
    if (kind == ElementKind::Node || index == 0)
        throw Error(std::string(kOnlyElementsHide));
    CanvasImage& image = imageAt(kind, index);
    image.visible = shown;
    if (!shown)
        image.bordered = false;
    Connect_Basin_Node();
}

void NetworkModel::Select(ElementKind kind, int index) {
    const CanvasImage& pressed = image(kind, index);
    SelectedElement = ElementRef{kind, index, pressed.tag};
    HighlightSelected();
}

void NetworkModel::HighlightSelected() {
    for (ElementKind kind :
         {ElementKind::Basin, ElementKind::Node, ElementKind::Channel, ElementKind::Surface})
        for (CanvasImage& image : list(kind))
            image.bordered = false;
    if (SelectedElement)
        imageAt(SelectedElement->kind, SelectedElement->index).bordered = true;
}

void NetworkModel::MoveImage(ElementKind kind, int index, float left, float top) {
    CanvasImage& moved = imageAt(kind, index);
    moved.left = left;
    moved.top = top;
    Connect_Basin_Node();
}

void NetworkModel::WritePosition(const Workspace& ws, ElementKind kind, int index) const {
    const CanvasImage& released = image(kind, index);
    WriteElementPosition(ws, kind, released.tag, released.left, released.top);
}

} // namespace pluvane
