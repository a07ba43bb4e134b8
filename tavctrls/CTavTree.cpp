#include "CTavTree.h"

#include "CTavScreen.h"
#include "CTavScrollBars.h"
#include "TavCallbackGuard.h"
#include "TavCellDrawing.h"
#include "TavRuntime.h"
#include "tavctrls/platform/Text.h"

#include <algorithm>

namespace {

// Floor of a / b for b > 0.
int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The side of the plus and minus marks.
constexpr int kMarkSize = 10;

// TRUE when a bitmap part came out of its file (a surface keeps the path only then).
bool Loaded(const CTavObject* part) {
    const CTavSurface* image = part->GetImage();
    return image != nullptr && *image->GetBitmapPath() != '\0';
}

} // namespace

// ---- rows of one level ----

void CTavTree::Rows::Append(Item* item) {
    m_items.push_back(item);
    if (m_sums.empty())
        m_sums.push_back(0);
    // A new Fenwick node covers (i - lowbit(i), i].
    const size_t i = m_items.size();
    const size_t low = i & (~i + 1);
    m_sums.push_back(item->shownRows + Prefix(i - 1) - Prefix(i - low));
}

void CTavTree::Rows::Erase(size_t index) {
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    for (size_t i = index; i < m_items.size(); ++i)
        m_items[i]->index = i;
    Rebuild();
}

void CTavTree::Rows::Clear() {
    m_items.clear();
    m_sums.clear();
}

void CTavTree::Rows::Rebuild() {
    m_sums.assign(m_items.size() + 1, 0);
    for (size_t i = 1; i <= m_items.size(); ++i) {
        m_sums[i] += m_items[i - 1]->shownRows;
        const size_t up = i + (i & (~i + 1));
        if (up <= m_items.size())
            m_sums[up] += m_sums[i];
    }
}

void CTavTree::Rows::Add(size_t index, int delta) {
    for (size_t i = index + 1; i < m_sums.size(); i += i & (~i + 1))
        m_sums[i] += delta;
}

int CTavTree::Rows::Prefix(size_t count) const {
    int sum = 0;
    for (size_t i = count; i > 0; i -= i & (~i + 1))
        sum += m_sums[i];
    return sum;
}

size_t CTavTree::Rows::Find(int& row) const {
    size_t at = 0;
    size_t step = 1;
    while (step * 2 <= m_items.size())
        step *= 2;
    for (; step > 0; step /= 2)
        if (at + step <= m_items.size() && m_sums[at + step] <= row) {
            at += step;
            row -= m_sums[at];
        }
    return at;
}

// ---- lifetime ----

CTavTree::CTavTree() = default;

CTavTree::~CTavTree() {
    delete m_background;
    delete m_plus;
    delete m_minus;
}

DWORD CTavTree::Initialize(float x, float y, DWORD id, CTavScreen* screen, int width, int height,
                           const char* background, const char* plus, const char* minus) {
    if (width < 1 || height < 1)
        return TAVERROR_INVALIDARG;
    if (background == nullptr || *background == '\0')
        return TAVERROR_LOADBITMAP;
    DWORD result = CTavObject::Initialize(id, x, y, background, width, height, screen);
    if (result != TAVERROR_OK)
        return result;
    struct Part {
        CTavObject** part;
        const char* path;
        int width, height;
        bool mark;
    };
    const Part parts[] = {{&m_background, background, width, height, false},
                          {&m_plus, plus, kMarkSize, kMarkSize, true},
                          {&m_minus, minus, kMarkSize, kMarkSize, true}};
    for (const Part& each : parts) {
        FinishPart(*each.part);
        if (each.path == nullptr || *each.path == '\0')
            continue;
        *each.part = new CTavObject;
        result = (*each.part)->Initialize(TAVID_LIBRARY, 0, 0, each.path, each.width, each.height, nullptr);
        if (result == TAVERROR_OK && !Loaded(*each.part))
            result = TAVERROR_LOADBITMAP;
        if (result != TAVERROR_OK) {
            FinishPart(*each.part);
            if (each.mark) // the tree works without its plus or minus mark
                continue;
            Finish();
            return result;
        }
        if (each.mark)
            (*each.part)->SetTransparent(TRUE, RGB(255, 255, 255));
    }
    SetScrollBars(width, height, 4);
    if (auto* bars = dynamic_cast<CTavScrollBars*>(GetScrollBarsObject()))
        bars->SetThickness(10);
    UpdateContentSize();
    Redraw();
    return TAVERROR_OK;
}

CTavObject* CTavTree::Clone(CTavObject* target, int withScreen) {
    auto* copy = target != nullptr ? static_cast<CTavTree*>(target) : new CTavTree;
    copy->m_itemBackColour = m_itemBackColour;
    copy->m_selectedColour = m_selectedColour;
    copy->m_textColour = m_textColour;
    copy->m_fontName = m_fontName;
    copy->m_fontWidth = m_fontWidth;
    copy->m_fontHeight = m_fontHeight;
    copy->m_fontWeight = m_fontWeight;
    copy->m_tabSpace = m_tabSpace;
    copy->m_itemHeight = m_itemHeight;
    copy->DeleteAllItems();
    for (const Item& item : m_items) {
        Item* made =
            copy->Insert(item.text, item.id, item.parent != nullptr ? copy->Find(item.parentId) : nullptr);
        made->textColour = item.textColour;
        made->fontName = item.fontName;
        made->fontWidth = item.fontWidth;
        made->fontHeight = item.fontHeight;
        made->fontWeight = item.fontWeight;
        made->textWidth = item.textWidth;
        made->expanded = item.expanded;
        made->selected = item.selected;
        if (item.selected)
            copy->m_selected = made;
    }
    CTavObject* const* from[] = {&m_background, &m_plus, &m_minus};
    CTavObject** to[] = {&copy->m_background, &copy->m_plus, &copy->m_minus};
    for (int i = 0; i < 3; ++i) {
        FinishPart(*to[i]);
        if (*from[i] != nullptr)
            *to[i] = (*from[i])->Clone(nullptr, 0);
    }
    copy->RebuildLayout();
    CopyBaseTo(copy, withScreen);
    copy->CreateImage();
    return copy;
}

DWORD CTavTree::SetWidth(int w) {
    if (w < 1)
        return TAVERROR_INVALIDARG;
    if (m_background != nullptr)
        m_background->SetWidth(w);
    return CTavObject::SetWidth(w);
}

DWORD CTavTree::SetHeight(int h) {
    if (h < 1)
        return TAVERROR_INVALIDARG;
    if (m_background != nullptr)
        m_background->SetHeight(h);
    return CTavObject::SetHeight(h);
}

void CTavTree::Restore() {
    for (CTavObject* part : {m_background, m_plus, m_minus})
        if (part != nullptr)
            part->Restore();
    CTavObject::Restore();
}

void CTavTree::Finish() {
    FinishPart(m_background);
    FinishPart(m_plus);
    FinishPart(m_minus);
    CTavObject::Finish();
}

// ---- ids ----

CTavTree::Item* const* CTavTree::Ids::Dense(int id) const {
    const bool inside = id >= 0 && static_cast<size_t>(id) < m_dense.size();
    return inside && m_dense[static_cast<size_t>(id)] != nullptr ? &m_dense[static_cast<size_t>(id)]
                                                                 : nullptr;
}

CTavTree::Item* CTavTree::Ids::Find(int id) const {
    if (Item* const* dense = Dense(id))
        return *dense;
    if (m_sparse.empty())
        return nullptr;
    const auto found = m_sparse.find(id);
    return found != m_sparse.end() ? found->second : nullptr;
}

void CTavTree::Ids::Add(int id, Item* item, size_t itemCount) {
    const auto index = static_cast<size_t>(id);
    // An id far above the items' count would make the index mostly empty.
    if (index >= std::max<size_t>(1024, 4 * itemCount)) {
        m_sparse.emplace(id, item);
        return;
    }
    if (index >= m_dense.size())
        m_dense.resize(std::max(index + 1, 2 * m_dense.size()), nullptr);
    m_dense[index] = item;
}

void CTavTree::Ids::Erase(int id) {
    if (Dense(id) != nullptr)
        m_dense[static_cast<size_t>(id)] = nullptr;
    else
        m_sparse.erase(id);
}

void CTavTree::Ids::Clear() {
    m_dense.clear();
    m_sparse.clear();
}

CTavTree::Item* CTavTree::Find(int id) const {
    return m_byId.Find(id);
}

int CTavTree::TakeLowestFreeId() {
    if (!m_freeIds.empty()) {
        const int id = *m_freeIds.begin();
        m_freeIds.erase(m_freeIds.begin());
        return id;
    }
    // Each id is stepped over once: ids given explicitly above the mark, or handed out here.
    while (Find(m_nextId) != nullptr)
        ++m_nextId;
    return m_nextId++;
}

void CTavTree::ClaimId(int id) {
    if (id < m_nextId)
        m_freeIds.erase(id);
}

void CTavTree::ReleaseId(int id) {
    if (id < m_nextId)
        m_freeIds.insert(id);
}

// ---- structure ----

int CTavTree::AddItem(const std::string& text, int id, int parentId) {
    if (id < -1 || (id != -1 && Find(id) != nullptr))
        return -1;
    Item* parent = nullptr;
    if (parentId != -1 && (parent = Find(parentId)) == nullptr)
        return -1;
    Item* item = Insert(text, id, parent);
    const bool shown = IsShown(item);
    if (shown)
        CountWidth(item, 1);
    UpdateContentSize();
    if (ChangesTheView(item, shown))
        Redraw();
    else
        m_drawY = m_roots.Total() * m_itemHeight;
    return item->id;
}

// Whether a new item alters the rows in view: its own row and those below it move when it is shown;
// a hidden one only turns its parent's mark to a plus when it is the first child.
bool CTavTree::ChangesTheView(const Item* item, bool shown) const {
    int scrollY = 0;
    GetScrollPosition(nullptr, &scrollY);
    if (shown)
        return RowOf(item) * m_itemHeight - scrollY < m_height;
    const Item* parent = item->parent;
    return parent->children.Size() == 1 && IsShown(parent);
}

CTavTree::Item* CTavTree::Insert(const std::string& text, int id, Item* parent) {
    if (id == -1)
        id = TakeLowestFreeId();
    else
        ClaimId(id);
    m_items.emplace_back();
    Item* item = &m_items.back();
    item->self = std::prev(m_items.end());
    item->text = text;
    item->id = id;
    item->parentId = parent != nullptr ? parent->id : -1;
    item->textColour = m_textColour;
    item->fontName = m_fontName;
    item->fontWidth = m_fontWidth;
    item->fontHeight = m_fontHeight;
    item->fontWeight = m_fontWeight;
    item->parent = parent;
    item->depth = parent != nullptr ? parent->depth + 1 : 0;
    item->order = m_addedCount++;
    m_byId.Add(id, item, m_items.size());
    Rows& siblings = SiblingsOf(item);
    item->index = siblings.Size();
    siblings.Append(item);
    if (parent != nullptr && parent->expanded) {
        parent->shownRows += 1;
        Propagate(parent, 1);
    }
    return item;
}

void CTavTree::Propagate(Item* item, int delta) {
    for (;;) {
        SiblingsOf(item).Add(item->index, delta);
        Item* parent = item->parent;
        if (parent == nullptr || !parent->expanded)
            return;
        parent->shownRows += delta;
        item = parent;
    }
}

BOOL CTavTree::DeleteItem(int id) {
    Item* item = Find(id);
    if (item == nullptr)
        return FALSE;
    if (IsShown(item)) {
        CountWidth(item, -1);
        ForShownBelow(item, [this](Item* below) { CountWidth(below, -1); });
    }
    Item* parent = item->parent;
    SiblingsOf(item).Erase(item->index);
    if (parent != nullptr && parent->expanded) {
        parent->shownRows -= item->shownRows;
        Propagate(parent, -item->shownRows);
    }
    // Everything below goes with it (children lists stand for "every item whose parent is this id").
    std::vector<Item*> doomed{item};
    while (!doomed.empty()) {
        Item* gone = doomed.back();
        doomed.pop_back();
        for (size_t i = 0; i < gone->children.Size(); ++i)
            doomed.push_back(gone->children.At(i));
        if (m_selected == gone)
            m_selected = nullptr;
        m_byId.Erase(gone->id);
        ReleaseId(gone->id);
        m_items.erase(gone->self);
    }
    UpdateContentSize();
    Redraw();
    return TRUE;
}

void CTavTree::DeleteAllItems() {
    m_items.clear();
    m_itemPool.release();
    m_byId.Clear();
    m_roots.Clear();
    m_selected = nullptr;
    m_nextId = 0;
    m_freeIds.clear();
    m_rowWidths.clear();
    UpdateContentSize();
    Redraw();
}

BOOL CTavTree::HasItem(int id) const {
    return Find(id) != nullptr;
}

int CTavTree::GetParentID(int id) const {
    const Item* item = Find(id);
    return item != nullptr ? item->parentId : -1;
}

int CTavTree::GetSelectedItem() const {
    return m_selected != nullptr ? m_selected->id : -1;
}

std::string CTavTree::GetItemText(int id) const {
    const Item* item = Find(id);
    return item != nullptr ? item->text : std::string();
}

COLORREF CTavTree::GetItemTextColor(int id) const {
    const Item* item = Find(id);
    return item != nullptr ? item->textColour : 0;
}

BOOL CTavTree::IsItemExpanded(int id) const {
    const Item* item = Find(id);
    return item != nullptr && item->expanded ? TRUE : FALSE;
}

std::vector<int> CTavTree::GetItemIDs() const {
    std::vector<int> ids;
    ids.reserve(m_items.size());
    for (const Item& item : m_items)
        ids.push_back(item.id);
    return ids;
}

std::vector<int> CTavTree::GetVisibleItems() const {
    std::vector<int> ids;
    for (const Item* item = m_roots.Empty() ? nullptr : m_roots.At(0); item != nullptr;
         item = NextShown(item))
        ids.push_back(item->id);
    return ids;
}

int CTavTree::GetItemRow(int id) const {
    const Item* item = Find(id);
    return item != nullptr && IsShown(item) ? RowOf(item) : -1;
}

// ---- expanding ----

void CTavTree::Expand(Item* item, bool expanded) {
    if ((item->expanded != 0) == expanded)
        return;
    const bool shown = IsShown(item);
    if (shown && !expanded)
        ForShownBelow(item, [this](Item* below) { CountWidth(below, -1); });
    item->expanded = expanded ? 1 : 0;
    const int delta = expanded ? item->children.Total() : -item->children.Total();
    item->shownRows += delta;
    Propagate(item, delta);
    if (shown && expanded)
        ForShownBelow(item, [this](Item* below) { CountWidth(below, 1); });
}

void CTavTree::SetItemExpanded(int id, BOOL expanded) {
    Item* item = Find(id);
    if (item == nullptr)
        return;
    Expand(item, expanded != FALSE);
    UpdateContentSize();
    Redraw();
}

void CTavTree::ExpandAll() {
    for (Item& item : m_items)
        item.expanded = 1;
    RebuildLayout();
    UpdateContentSize();
    Redraw();
}

// Every count from scratch: children always come after their parent in the list.
void CTavTree::RebuildLayout() {
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        it->children.Rebuild();
        it->shownRows = 1 + (it->expanded ? it->children.Total() : 0);
    }
    m_roots.Rebuild();
    m_rowWidths.clear();
    for (Item* item = m_roots.Empty() ? nullptr : m_roots.At(0); item != nullptr; item = NextShown(item))
        CountWidth(item, 1);
}

// ---- shown items ----

bool CTavTree::IsShown(const Item* item) const {
    for (const Item* up = item->parent; up != nullptr; up = up->parent)
        if (!up->expanded)
            return false;
    return true;
}

int CTavTree::RowOf(const Item* item) const {
    int row = 0;
    for (; item != nullptr; item = item->parent) {
        row += SiblingsOf(item).Prefix(item->index);
        if (item->parent != nullptr)
            ++row;
    }
    return row;
}

CTavTree::Item* CTavTree::ItemAtRow(int row) const {
    if (row < 0 || row >= m_roots.Total())
        return nullptr;
    const Rows* level = &m_roots;
    for (;;) {
        Item* item = level->At(level->Find(row));
        if (row == 0)
            return item;
        --row;
        level = &item->children;
    }
}

CTavTree::Item* CTavTree::NextShown(const Item* item) const {
    if (item->expanded && !item->children.Empty())
        return item->children.At(0);
    for (; item != nullptr; item = item->parent) {
        const Rows& siblings = SiblingsOf(item);
        if (item->index + 1 < siblings.Size())
            return siblings.At(item->index + 1);
    }
    return nullptr;
}

CTavTree::Item* CTavTree::PreviousShown(const Item* item) const {
    if (item->index == 0)
        return item->parent;
    Item* previous = SiblingsOf(item).At(item->index - 1);
    while (previous->expanded && !previous->children.Empty())
        previous = previous->children.Back();
    return previous;
}

CTavTree::Item* CTavTree::LastShown() const {
    if (m_roots.Empty())
        return nullptr;
    Item* last = m_roots.Back();
    while (last->expanded && !last->children.Empty())
        last = last->children.Back();
    return last;
}

template <class Visit>
void CTavTree::ForShownBelow(Item* item, Visit visit) {
    if (!item->expanded)
        return;
    std::vector<Item*> pending;
    for (size_t i = item->children.Size(); i > 0; --i)
        pending.push_back(item->children.At(i - 1));
    while (!pending.empty()) {
        Item* next = pending.back();
        pending.pop_back();
        visit(next);
        if (next->expanded)
            for (size_t i = next->children.Size(); i > 0; --i)
                pending.push_back(next->children.At(i - 1));
    }
}

// Rows meet a point with both edges included, so a point on a boundary lies on two rows; the item
// added first wins.
int CTavTree::ItemAt(int x, int y) const {
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    const int contentY = y - static_cast<int>(m_appY) + scrollY;
    const int pointX = x - static_cast<int>(m_appX);
    if (contentY < 0)
        return -1;
    const int below = contentY / m_itemHeight;
    const Item* best = nullptr;
    for (int row : {below - 1, below}) {
        if (row < 0 || (row == below - 1 && contentY % m_itemHeight != 0))
            continue;
        const Item* item = ItemAtRow(row);
        if (item == nullptr || TextX(item) - scrollX > pointX)
            continue;
        if (best == nullptr || item->order < best->order)
            best = item;
    }
    return best != nullptr ? best->id : -1;
}

// ---- selection, mouse and keys ----

void CTavTree::SelectItem(int id) {
    Item* item = Find(id);
    if (item == nullptr || item == m_selected)
        return;
    if (m_selected != nullptr)
        m_selected->selected = 0;
    item->selected = 1;
    m_selected = item;
    Redraw();
    // Last: the screen may remove this tree.
    if (m_screen != nullptr)
        m_screen->AfterTreeCntrlSelectionChanged(m_id, id);
}

BOOL CTavTree::Destroyed() const {
    return tav::RemovedDuringCallback(this);
}

BOOL CTavTree::OnLMouseDown(int x, int y) {
    const int id = ItemAt(x, y);
    if (id < 0)
        return FALSE;
    tav::BusyScope busy;
    SelectItem(id);
    return TRUE;
}

BOOL CTavTree::OnDoubleClick(int x, int y) {
    const int id = ItemAt(x, y);
    if (id < 0)
        return FALSE;
    tav::BusyScope busy;
    SelectItem(id);
    if (Destroyed())
        return TRUE;
    // The selection's handler may have changed the items.
    Item* item = Find(id);
    if (item == nullptr)
        return FALSE;
    Expand(item, !item->expanded);
    UpdateContentSize();
    Redraw();
    if (m_screen != nullptr)
        m_screen->AfterTreeCntrlDoubleClicked(m_id, id);
    return Destroyed();
}

BOOL CTavTree::OnRMouseDown(int x, int y) {
    if (!HitTest(x, y))
        return FALSE;
    const int id = ItemAt(x, y);
    if (id < 0)
        return FALSE;
    tav::BusyScope busy;
    SelectItem(id);
    if (Destroyed())
        return TRUE;
    if (Find(id) == nullptr || m_screen == nullptr)
        return FALSE;
    m_screen->OnTreeCntrlItemRightClick(m_id, id);
    return Destroyed();
}

BOOL CTavTree::OnKeyDown(UINT key) {
    if (m_selected == nullptr || !IsShown(m_selected))
        return FALSE;
    Item* target = nullptr;
    switch (key) {
    case VK_DOWN:
        target = NextShown(m_selected);
        break;
    case VK_UP:
        target = PreviousShown(m_selected);
        break;
    case VK_HOME:
        target = m_roots.At(0);
        break;
    case VK_END:
        target = LastShown();
        break;
    default:
        return FALSE;
    }
    if (target == nullptr)
        return FALSE;
    tav::BusyScope busy;
    ScrollRowIntoView(RowOf(target));
    SelectItem(target->id);
    return Destroyed();
}

// ---- scrolling ----

int CTavTree::ContentWidth() const {
    return m_rowWidths.empty() ? 0 : m_rowWidths.rbegin()->first;
}

void CTavTree::UpdateContentSize() {
    auto* bars = dynamic_cast<CTavScrollBars*>(GetScrollBarsObject());
    if (bars == nullptr)
        return;
    const int thickness = bars->GetThickness();
    bars->SetContentSize(ContentWidth() + thickness, m_roots.Total() * m_itemHeight + thickness);
}

void CTavTree::ScrollTo(int x, int y) {
    if (auto* bars = dynamic_cast<CTavScrollBars*>(GetScrollBarsObject()))
        bars->SetScrollPosition(x, y);
}

void CTavTree::ScrollRowIntoView(int row) {
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    const int top = row * m_itemHeight;
    if (top < scrollY)
        ScrollTo(scrollX, top);
    else if (top + m_itemHeight > scrollY + m_height)
        ScrollTo(scrollX, top + m_itemHeight - m_height);
}

// ---- measuring and drawing ----

std::shared_ptr<const tav::platform::Font> CTavTree::FontFor(const Item* item) {
    for (const FontCacheEntry& entry : m_fonts)
        if (entry.name == item->fontName && entry.width == item->fontWidth &&
            entry.height == item->fontHeight && entry.weight == item->fontWeight)
            return entry.font;
    auto font =
        tav::platform::OpenFont({item->fontName, item->fontWidth, item->fontHeight, item->fontWeight});
    if (m_fonts.size() >= 16)
        m_fonts.clear();
    m_fonts.push_back({item->fontName, item->fontWidth, item->fontHeight, item->fontWeight, font});
    return font;
}

void CTavTree::Measure(Item* item) {
    const auto font = FontFor(item);
    item->textWidth = font != nullptr ? tav::platform::MeasureText(*font, item->text).width : 0;
}

void CTavTree::CountWidth(Item* item, int count) {
    if (item->textWidth < 0)
        Measure(item);
    int& rows = m_rowWidths[RowWidth(item)];
    rows += count;
    if (rows <= 0)
        m_rowWidths.erase(RowWidth(item));
}

void CTavTree::DrawContent() {
    if (m_image == nullptr || m_image->GetDDSurface() == nullptr)
        return;
    if (m_background != nullptr)
        m_background->Display(m_image);
    else
        m_image->Fill(tav::PixelOfColour(m_itemBackColour));
    const int rows = m_roots.Total();
    m_drawY = rows * m_itemHeight;
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    const auto* bars = dynamic_cast<const CTavScrollBars*>(GetScrollBarsObject());
    const int contentWidth = bars != nullptr ? bars->GetContentWidth() : ContentWidth();
    const int stripWidth = std::max(m_width, contentWidth);
    CTavSurface scratch;
    if (rows == 0 || scratch.Create(m_width, m_itemHeight) != TAVERROR_OK)
        return;

    // Only the rows that reach into the view are drawn; a mark may hang below a short row.
    const int reach = std::max(m_itemHeight, m_plus != nullptr || m_minus != nullptr ? kMarkSize : 0);
    const int firstRow = std::max(0, FloorDiv(scrollY - reach, m_itemHeight) + 1);
    const Item* font = nullptr;
    Item* item = ItemAtRow(firstRow);
    for (int row = firstRow; item != nullptr && row * m_itemHeight - scrollY < m_height;
         ++row, item = NextShown(item)) {
        const int x = TextX(item) - scrollX;
        const int y = row * m_itemHeight - scrollY;
        CTavObject* mark = item->expanded || item->children.Empty() ? m_minus : m_plus;
        if (mark != nullptr) {
            mark->SetPosition(static_cast<float>(x - kMarkSize), static_cast<float>(y));
            mark->Display(m_image);
        }
        if (font == nullptr || font->fontName != item->fontName || font->fontWidth != item->fontWidth ||
            font->fontHeight != item->fontHeight || font->fontWeight != item->fontWeight) {
            scratch.SetFont(item->fontName.c_str(), item->fontWidth, item->fontHeight, item->fontWeight);
            font = item;
        }
        tav::DrawCell(*m_image, scratch, x, y, stripWidth, m_itemHeight,
                      item->selected ? m_selectedColour : m_itemBackColour, item->textColour, item->text);
    }
}

// ---- appearance ----

void CTavTree::SetFontName(const char* name) {
    m_fontName = name != nullptr ? name : "";
}

void CTavTree::SetFontHeight(int height) {
    height = ClampLength(height);
    m_fontHeight = height;
    for (Item& item : m_items) {
        item.fontHeight = height;
        item.textWidth = -1;
    }
    RebuildLayout();
    UpdateContentSize();
    Redraw();
}

void CTavTree::SetFontStyle(int weight) {
    m_fontWeight = weight;
    for (Item& item : m_items) {
        item.fontWeight = weight;
        item.textWidth = -1;
    }
    RebuildLayout();
    UpdateContentSize();
    Redraw();
}

void CTavTree::SetItemBackColor(COLORREF colour) {
    m_itemBackColour = colour;
    Redraw();
}

void CTavTree::SetSelectedItemColor(COLORREF colour) {
    m_selectedColour = colour;
    Redraw();
}

void CTavTree::SetTextColor(COLORREF colour) {
    m_textColour = colour;
}

void CTavTree::SetTabSpace(int space) {
    m_tabSpace = ClampLength(space);
    RebuildLayout();
    UpdateContentSize();
    Redraw();
}

void CTavTree::SetItemHeight(int height) {
    if (height < 1)
        return;
    m_itemHeight = ClampLength(height);
    UpdateContentSize();
    Redraw();
}

BOOL CTavTree::OnMouseWheel(int, int, int delta) {
    return m_scrollBars != nullptr && m_scrollBars->Wheel(delta, 3 * m_itemHeight) ? TRUE : FALSE;
}
