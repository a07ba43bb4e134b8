#pragma once

#include "CTavObject.h"

#include <list>
#include <map>
#include <memory>
#include <memory_resource>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace tav::platform {
class Font;
}

// A hierarchy of text items with integer ids: expand and collapse (double click), one selected item,
// keyboard navigation over the shown items, plus and minus marks. Item actions are reported to the
// screen's tree callbacks.
class CTavTree : public CTavObject {
public:
    CTavTree();
    ~CTavTree() override;

    using CTavObject::Initialize;
    // The background must load; a plus or minus bitmap that cannot be read leaves the tree without
    // that mark.
    virtual DWORD Initialize(float x, float y, DWORD id, CTavScreen* screen, int width, int height,
                             const char* background, const char* plus, const char* minus);

    // The item's id, or -1 when the id is taken (or below -1) or the parent does not exist. Id -1 takes
    // the lowest free id; parent -1 makes a top-level item.
    int AddItem(const std::string& text, int id = -1, int parentId = -1);
    // Removes the item and everything below it; FALSE when there is no such item.
    BOOL DeleteItem(int id);
    void DeleteAllItems();
    BOOL HasItem(int id) const;
    int GetParentID(int id) const;
    int GetSelectedItem() const;
    void SelectItem(int id);
    void ExpandAll();
    void SetItemExpanded(int id, BOOL expanded);
    BOOL IsItemExpanded(int id) const;
    std::string GetItemText(int id) const;
    COLORREF GetItemTextColor(int id) const;
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // Every id in the order the items were added.
    std::vector<int> GetItemIDs() const;
    // The ids of the shown items (those whose ancestors are all expanded), top to bottom.
    std::vector<int> GetVisibleItems() const;
    // The row an item is shown in (0 at the top of the content), or -1 when it is not shown.
    int GetItemRow(int id) const;
    // The shown item under an application-area point, or -1.
    int ItemAt(int x, int y) const;

    void SetFontName(const char* name);
    void SetFontHeight(int height);
    void SetFontStyle(int weight);
    void SetItemBackColor(COLORREF colour);
    void SetSelectedItemColor(COLORREF colour);
    void SetTextColor(COLORREF colour);
    void SetTabSpace(int space);
    void SetItemHeight(int height);

    COLORREF GetItemBackColor() const { return m_itemBackColour; }
    COLORREF GetSelectedItemColor() const { return m_selectedColour; }
    COLORREF GetTextColor() const { return m_textColour; }
    const char* GetFontName() const { return m_fontName.c_str(); }
    int GetFontHeight() const { return m_fontHeight; }
    int GetFontWeight() const { return m_fontWeight; }
    int GetTabSpace() const { return m_tabSpace; }
    int GetItemHeight() const { return m_itemHeight; }
    // Rows times the item height, as the last drawing left it.
    int GetDrawnHeight() const { return m_drawY; }
    CTavObject* GetBackgroundImage() const { return m_background; }
    CTavObject* GetPlusImage() const { return m_plus; }
    CTavObject* GetMinusImage() const { return m_minus; }

    CTavObject* Clone(CTavObject* target, int withScreen) override;
    BOOL OnLMouseDown(int x, int y) override;
    BOOL OnDoubleClick(int x, int y) override;
    // Three rows a notch.
    BOOL OnMouseWheel(int x, int y, int delta) override;
    BOOL OnRMouseDown(int x, int y) override;
    BOOL OnKeyDown(UINT key) override;
    void DrawContent() override;
    DWORD SetWidth(int w) override;
    DWORD SetHeight(int h) override;
    void Restore() override;
    void Finish() override;

private:
    struct Item;

    // The children of an item (or the top-level items) in order, with the number of rows each one's
    // subtree shows, summed in a Fenwick tree so that the item at a row is found in logarithmic time.
    class Rows {
    public:
        size_t Size() const { return m_items.size(); }
        bool Empty() const { return m_items.empty(); }
        Item* At(size_t index) const { return m_items[index]; }
        Item* Back() const { return m_items.back(); }
        void Append(Item* item);
        void Erase(size_t index);
        void Clear();
        // Re-reads every item's row count.
        void Rebuild();
        void Add(size_t index, int delta);
        // The rows of the first `count` items.
        int Prefix(size_t count) const;
        int Total() const { return Prefix(m_items.size()); }
        // The index of the item whose rows hold `row`; `row` becomes the offset inside them.
        size_t Find(int& row) const;

    private:
        std::vector<Item*> m_items;
        std::vector<int> m_sums; // Fenwick tree, 1-based
    };

    struct Item {
        std::string text;
        int parentId = -1;
        int id = 0;
        COLORREF textColour = 0;
        std::string fontName;
        int fontWidth = 0;
        int fontHeight = 15;
        int fontWeight = 0;
        int selected = 0;
        int expanded = 0;
        // Structure kept beside the record.
        Item* parent = nullptr;
        int depth = 0;
        size_t index = 0;   // among its parent's children
        int shownRows = 1;  // rows its subtree shows when it is shown: itself, and its children's if expanded
        int textWidth = -1; // measured when first shown
        unsigned long long order = 0; // when it was added
        Rows children;
        std::pmr::list<Item>::iterator self;
    };

    Item* Find(int id) const;
    Rows& SiblingsOf(const Item* item) { return item->parent != nullptr ? item->parent->children : m_roots; }
    const Rows& SiblingsOf(const Item* item) const {
        return item->parent != nullptr ? item->parent->children : m_roots;
    }
    Item* Insert(const std::string& text, int id, Item* parent);
    bool ChangesTheView(const Item* item, bool shown) const;
    int TakeLowestFreeId();
    void ClaimId(int id);
    void ReleaseId(int id);
    // The item's row count changed by `delta`: carried up through the expanded ancestors.
    void Propagate(Item* item, int delta);
    void Expand(Item* item, bool expanded);
    bool IsShown(const Item* item) const;
    int RowOf(const Item* item) const;
    Item* ItemAtRow(int row) const;
    Item* NextShown(const Item* item) const;
    Item* PreviousShown(const Item* item) const;
    Item* LastShown() const;
    // Calls `visit` for every shown item below `item` (not `item` itself), in display order.
    template <class Visit>
    void ForShownBelow(Item* item, Visit visit);
    int TextX(const Item* item) const { return (m_tabSpace + 5) * item->depth + 10; }
    int RowWidth(const Item* item) const { return TextX(item) + item->textWidth; }
    void CountWidth(Item* item, int count);
    void Measure(Item* item);
    void RebuildLayout();
    int ContentWidth() const;
    void UpdateContentSize();
    void ScrollTo(int x, int y);
    void ScrollRowIntoView(int row);
    std::shared_ptr<const tav::platform::Font> FontFor(const Item* item);
    BOOL Destroyed() const;

    COLORREF m_itemBackColour = RGB(64, 255, 0);
    COLORREF m_selectedColour = RGB(255, 255, 192);
    COLORREF m_textColour = 0;
    std::string m_fontName = "Verdana";
    int m_fontWidth = 0;
    int m_fontHeight = 15;
    int m_fontWeight = 700;
    int m_drawY = 0;
    int m_tabSpace = 10;
    int m_itemHeight = 15;
    // Items come from a pool: a large tree is filled and emptied at once.
    std::pmr::unsynchronized_pool_resource m_itemPool;
    std::pmr::list<Item> m_items{&m_itemPool}; // in the order they were added
    CTavObject* m_background = nullptr;
    CTavObject* m_plus = nullptr;
    CTavObject* m_minus = nullptr;

    // Items by id: handed-out ids are dense and indexed, ids given far above them are looked up.
    class Ids {
    public:
        Item* Find(int id) const;
        void Add(int id, Item* item, size_t itemCount);
        void Erase(int id);
        void Clear();

    private:
        // The id's entry in the dense index, or null when it has none there.
        Item* const* Dense(int id) const;

        std::vector<Item*> m_dense;
        std::unordered_map<int, Item*> m_sparse;
    };
    Ids m_byId;
    unsigned long long m_addedCount = 0;
    Rows m_roots;
    Item* m_selected = nullptr;
    // Ids below m_nextId are all taken except those in m_freeIds.
    int m_nextId = 0;
    std::set<int> m_freeIds;
    // How many shown rows have each width, for the widest one.
    std::map<int, int> m_rowWidths;
    struct FontCacheEntry {
        std::string name;
        int width, height, weight;
        std::shared_ptr<const tav::platform::Font> font;
    };
    std::vector<FontCacheEntry> m_fonts;
};
