// The pages of the window: the tab controls and their pages, each page built
// with its controls the first time it is shown (so that the window appears
// sooner), placement and docking, and the composited painting that keeps
// page changes free of flicker.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "ui/win32_parts.h"

namespace kwetro::win32 {

class Pages {
 public:
  // onBuilt runs for every item created with a page, when the page is built.
  Pages(WindowParts& parts, std::function<void(int)> onBuilt)
      : parts_(parts), onBuilt_(std::move(onBuilt)) {}

  // Creates the window's direct controls and containers, but no page content.
  void BuildWindow();
  // Shows the selected page of a tab control (building it when needed) and,
  // inside it, the selected pages of its own tab controls.
  void ShowSelected(int pageControl);
  // The tab controls around an item, outermost first, each with the position
  // of the tab whose page holds the item.
  std::vector<std::pair<int, int>> TabsAround(int item) const;
  // The same for a page: the tabs that show it, its own last.
  std::vector<std::pair<int, int>> TabsTo(int page) const;
  // The pages that hold no tab control of their own, in the order of the
  // layout: the pages the user reads, in the order Ctrl+Tab walks them.
  std::vector<int> InnermostPages() const;
  // The innermost page shown inside a tab control.
  int ShownPage(int pageControl) const;
  // Each tab control built, with the window of the page it shows.
  std::vector<std::pair<HWND, HWND>> TabRows() const;
  // Builds the pages an item sits on, so that its control exists.
  void EnsureBuilt(int item);
  // Builds every page.
  void BuildAll();
  // The index of the selected tab of a tab control, and its page.
  int Selected(int pageControl) const;
  int SelectedPage(int pageControl) const;
  // The page an item sits on (the nearest page around it), or -1.
  int PageOf(int item) const;

  // Places everything anew for the window's present size: docked and
  // anchored controls, the pages in their tab controls, the pages' scrolling.
  void Relayout();
  // The information line grows upwards by this much over its designed height,
  // taken from the pages above it; true when that changed (Relayout then).
  bool SetInfoGrowth(int pixels);
  // The main pages end this far left of their tab control's right edge,
  // where a window over them (the preview) would cover them; true when that
  // changed (Relayout then). Their tabs keep their whole row.
  bool SetPagesMargin(int pixels);
  // Docks and anchors the children of a container, and of the containers in it.
  void AlignChildren(int parent);
  // Keeps the button bar's buttons at its right (also after the OK button's
  // caption changed).
  void ArrangeButtons(int bar);
  // An item's size changed: its page scrolls as far as it now needs.
  void ContentChanged(int item);
  void SetComposited();

 private:
  void BuildChildren(int parent);
  void BuildPage(int page);
  // A tab control's display area, in its parent's coordinates (the main
  // pages' less the margin a preview over them takes).
  RECT PageArea(int pageControl) const;
  void PlacePages(int pageControl);
  // The page's view scrolls as far as its controls reach.
  void FitPage(int page);
  // How much a container has grown since the layout (less than nothing
  // when it shrank).
  SIZE Growth(int container) const;
  // Moves and stretches the anchored children by their parent's growth.
  void Anchor(int parent);
  // How far each child of a container moves and grows.
  struct Plan {
    POINT moved;
    SIZE grown;
  };
  // By its anchors, and for the window's children, by the information
  // line's growth.
  std::vector<Plan> AnchorPlans(int parent);
  // How far the controls at the left of a row at the parent's bottom go up
  // where the row is too narrow for them beside those at its right; 0 when
  // it is wide enough.
  int BottomRowLift(int parent, const std::vector<Plan>& plans) const;
  void Move(int child, POINT moved, SIZE grown);
  // A button bar's buttons from the right, with their widths.
  std::vector<std::pair<HWND, int>> ButtonsOf(int bar) const;
  // Where an item shows something: a button bar only where its buttons are.
  RECT Occupied(int child) const;

  WindowParts& parts_;
  std::function<void(int)> onBuilt_;
  std::vector<int> fresh_;  // items created while building a page
  int infoGrowth_ = 0;
  int pagesMargin_ = 0;
};

}  // namespace kwetro::win32
