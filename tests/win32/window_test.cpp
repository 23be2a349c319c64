// The window's wiring: options, pages with title and legend, the information
// line, the services list and its presets, keyboard use.
#include <algorithm>

#include "catalogue/services_page.h"
#include "window_harness.h"

namespace kwetro::testing {
namespace {

TriState Next(TriState state) {
  return state == cbUnchecked ? cbGrayed : state == cbGrayed ? cbChecked : cbUnchecked;
}

TEST_F(WindowTest, ClicksCycleAnOptionAndItsCaption) {
  Open();
  const char* name = "sCheckBox_1_2";
  HWND box = Control(name);
  const TriState first = State(name);
  for (int i = 0; i < 3; ++i) {
    const TriState before = State(name);
    Click(box);
    EXPECT_EQ(State(name), Next(before));
    EXPECT_EQ(TextOf(box), Caption(name));
  }
  EXPECT_EQ(State(name), first);
  ClickUntil(name, cbGrayed);
  EXPECT_NE(TextOf(box).find(W("(Пропустить)")), std::wstring::npos);
  ClickUntil(name, cbChecked);
  EXPECT_NE(TextOf(box).find(W("(Да)")), std::wstring::npos);
  ClickUntil(name, cbUnchecked);
  EXPECT_NE(TextOf(box).find(W("(Нет)")), std::wstring::npos);
}

TEST_F(WindowTest, QuickSecondClickIsASecondClick) {
  Open();
  const char* name = "sCheckBox_1_3";
  HWND box = Control(name);
  const TriState before = State(name);
  PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump(50);
  EXPECT_EQ(State(name), Next(Next(before)));
}

TEST_F(WindowTest, SpaceCyclesTheFocusedOption) {
  Open();
  const char* name = "pCheckBox_1_4";
  SelectPage("PageControl1", 1);
  HWND box = Control(name);
  SetFocus(box);
  const TriState before = State(name);
  Key(box, VK_SPACE, 0x39);
  EXPECT_EQ(State(name), Next(before));
  EXPECT_EQ(TextOf(box), Caption(name));
}

TEST_F(WindowTest, TabMovesThroughOptionsInTabOrderAndCtrlTabThroughPages) {
  Open();
  HWND first = Control("sCheckBox_1_1");
  EXPECT_EQ(GetFocus(), first);  // where the activation put it
  Key(first, VK_TAB);
  EXPECT_EQ(GetFocus(), Control("sCheckBox_1_2"));
  Key(GetFocus(), VK_DOWN);
  EXPECT_EQ(GetFocus(), Control("sCheckBox_1_3"));

  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  Key(GetFocus(), VK_TAB);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  // The focus was inside the system sub-pages: those turn, not the main pages.
  EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(Control("PageControl1"), TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(WindowTest, MainPagesSetTheTitleAndTheLegend) {
  Open();
  const struct {
    int page;
    const char* title;
  } pages[] = {{1, "  -  Проводник"},
               {2, "  -  Настройки IE"},
               {3, "  -  Настройки WMP"},
               {4, "  -  Сервисы и службы"},
               {0, "  -  Система"}};
  for (const auto& p : pages) {
    SelectPage("PageControl1", p.page);
    EXPECT_EQ(Graphic("Label10").text, W(p.title)) << p.page;
    const bool services = p.page == 4;
    EXPECT_EQ(Graphic("Label4").text, W(services ? "Авто" : "Да"));
    EXPECT_EQ(Graphic("Label5").text, W(services ? "Отключить" : "Нет"));
    EXPECT_EQ(Graphic("Label9").text, W(services ? "Вручную" : "Пропустить"));
    EXPECT_EQ(Graphic("Image9").visible, !services);
    EXPECT_EQ(Graphic("Label12").visible, !services);
    const RECT image = Graphic("Image7").bounds, label = Graphic("Label4").bounds;
    EXPECT_EQ(image.left, services ? 60 : 10);
    EXPECT_EQ(image.top, services ? 10 : 4);
    EXPECT_EQ(label.left, services ? 86 : 36);
    EXPECT_EQ(label.top, services ? 12 : 5);
    MouseOverGraphic("Image8");
    EXPECT_EQ(window_->InfoText(),
              W(services ? " Сервис отключен." : " Параметр отменен - стандартные настройки."));
  }
}

// A hint's part before "|" pops up over its control; a label or image has no
// window, so its pop-up belongs to its place on the window that holds it.
TEST_F(WindowTest, PopUpHintsFollowTheirControls) {
  Open([](Form& form) {
    for (Component& c : form.components) {
      if (c.name != "Image9" && c.name != "Label4") continue;
      auto& props = c.props;
      props.erase(std::remove_if(props.begin(), props.end(),
                                 [](const Property& p) { return p.name == "Hint"; }),
                  props.end());
      props.push_back({"Hint", "Pop-up|In the line", {}, true});
    }
  });
  HWND tips = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM found) {
        wchar_t name[64];
        GetClassNameW(hwnd, name, 64);
        if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&tips));
  ASSERT_TRUE(tips);
  auto tool = [&](const char* name, RECT* place) {
    const win32::NativeControl* n = window_->Find(name);
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    if (n->IsGraphic()) {
      info.hwnd = HolderOf(name);
      info.uId = static_cast<UINT_PTR>(100 + IndexOf(name));
    } else {
      info.hwnd = GetParent(n->hwnd);
      info.uId = reinterpret_cast<UINT_PTR>(n->hwnd);
    }
    const bool found = SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
    if (place) *place = info.rect;
    return found;
  };
  RECT place;
  EXPECT_TRUE(tool("sComboBox_1_1", nullptr));  // "Автоматическое обновление ..."
  EXPECT_FALSE(tool("sCheckBox_1_1", nullptr));  // its hint starts with "|"
  ASSERT_TRUE(tool("Image9", &place));
  EXPECT_TRUE(EqualRect(&place, &Graphic("Image9").bounds));
  ASSERT_TRUE(tool("Label4", &place));
  EXPECT_TRUE(EqualRect(&place, &Graphic("Label4").bounds));

  // The services page hides Image9 and moves and rewords Label4.
  SelectPage("PageControl1", 4);
  EXPECT_FALSE(tool("Image9", nullptr));
  ASSERT_TRUE(tool("Label4", &place));
  EXPECT_EQ(place.left, 86);
  EXPECT_TRUE(EqualRect(&place, &Graphic("Label4").bounds));
}

TEST_F(WindowTest, TheLinkOpensTheScriptFolder) {
  Open();
  Click("RzURLLabel1");
  ASSERT_EQ(platform_.openedFolders.size(), 1u);
  EXPECT_EQ(platform_.openedFolders[0], window_->Control().ScriptFolder());
}

TEST_F(WindowTest, InformationLineFollowsTheMouse) {
  Open();
  MouseOver(Control("sCheckBox_1_9"));
  const std::wstring hint = win32::Wide(form_.Option(Option("sCheckBox_1_9")).hint);
  ASSERT_EQ(hint.rfind(L"| ", 0), 0u);
  EXPECT_EQ(window_->InfoText(), hint.substr(1));

  // sCheckBox_1_5 rewrites its hint with every click; the line follows.
  SelectPage("PageControl2", 0);
  HWND level = Control("sCheckBox_1_5");
  MouseOver(level);
  Click(level);
  EXPECT_EQ(window_->InfoText(), win32::Wide(form_.Option(Option("sCheckBox_1_5")).hint).substr(1));

  // The header panel and the window have no hint of their own.
  MouseOver(Control("Panel1"), 500, 40);
  EXPECT_EQ(window_->InfoText(), W(" Без комментариев"));

  // A disabled control still explains itself.
  SelectPage("PageControl1", 4);
  ClickUntil("srCheckBox_1_1", cbGrayed);
  HWND list = Control("CheckListBox1");
  ASSERT_FALSE(IsWindowEnabled(list));
  const win32::NativeControl* native = window_->Find("CheckListBox1");
  RECT r;
  GetWindowRect(list, &r);
  POINT inside = {r.left + 20, r.top + 20};
  ScreenToClient(GetParent(list), &inside);
  MouseOver(GetParent(list), inside.x, inside.y);
  EXPECT_EQ(window_->InfoText(), win32::LongHint(native->hint));
}

TEST_F(WindowTest, ServicesPageWithSystemRestoreOffTurnsItsServiceOff) {
  Open();
  ClickUntil("sCheckBox_1_9", cbChecked);
  form_.services.states[49] = cbChecked;
  SelectPage("PageControl1", 4);
  EXPECT_EQ(form_.services.states[49], cbUnchecked);
  EXPECT_EQ(SendMessageW(Control("CheckListBox1"), LB_GETCURSEL, 0, 0), 0);

  SelectPage("PageControl1", 0);
  ClickUntil("sCheckBox_1_9", cbGrayed);
  form_.services.states[49] = cbChecked;
  SelectPage("PageControl1", 4);
  EXPECT_EQ(form_.services.states[49], cbChecked);
}

TEST_F(WindowTest, PresetsFillTheListOrSwitchItOff) {
  Open();
  SelectPage("PageControl1", 4);
  HWND list = Control("CheckListBox1");
  ClickUntil("srCheckBox_1_1", cbUnchecked);
  EXPECT_TRUE(IsWindowEnabled(list));
  EXPECT_EQ(TextOf(Control("srCheckBox_1_1")), W("Оптимальная"));
  const auto& optimal = OptimalServiceStates();
  EXPECT_TRUE(std::equal(optimal.begin(), optimal.end(), form_.services.states.begin()));
  EXPECT_EQ(GetFocus(), Control("srCheckBox_1_1"));

  ClickUntil("srCheckBox_1_1", cbGrayed);
  EXPECT_FALSE(IsWindowEnabled(list));
  EXPECT_EQ(TextOf(Control("srCheckBox_1_1")), W("Стандартная конфигурация"));

  // Entering the page again with the list off leaves the focus alone.
  SelectPage("PageControl1", 3);
  SetFocus(Control("mCheckBox_1_1"));
  SelectPage("PageControl1", 4);
  EXPECT_NE(GetFocus(), list);
}

TEST_F(WindowTest, ClickOnAnItemBoxCyclesItsStateClickOnTheTextOnlySelects) {
  Open();
  SelectPage("PageControl1", 4);
  ClickUntil("srCheckBox_1_1", cbUnchecked);
  HWND list = Control("CheckListBox1");
  RECT item;
  SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  const TriState before = form_.services.states[2];
  ClickAt(list, item.left + 6, (item.top + item.bottom) / 2);
  EXPECT_EQ(form_.services.states[2], Next(before));
  ClickAt(list, item.left + 120, (item.top + item.bottom) / 2);
  EXPECT_EQ(form_.services.states[2], Next(before));
  EXPECT_EQ(form_.services.itemIndex, 2);
  Key(list, VK_SPACE, 0x39);  // the space character cycles the selected item
  EXPECT_EQ(form_.services.states[2], Next(Next(before)));
}

TEST_F(WindowTest, ListsAndSpinnersWriteIntoTheModel) {
  Open();
  HWND combo = Control("sComboBox_1_1");
  SendMessageW(combo, CB_SETCURSEL, 2, 0);
  SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(form_.combos[kAutoUpdateCombo].itemIndex, 2);

  const win32::NativeControl* spinner = window_->Find("sSpinner4_1");
  ASSERT_TRUE(spinner);
  SetWindowTextW(spinner->hwnd, L"7");
  EXPECT_EQ(form_.spinners[kHungAppSpinner].value, 7);
  SendMessageW(spinner->hwnd, WM_KEYDOWN, VK_UP, 0);  // the up-down's arrow key
  Pump(20);
  EXPECT_EQ(form_.spinners[kHungAppSpinner].value, 8);
  SetWindowTextW(spinner->hwnd, L"999999");
  EXPECT_EQ(form_.spinners[kHungAppSpinner].value, form_.spinners[kHungAppSpinner].max);
}

// A page gets its window and controls the first time it is shown, so the
// window appears sooner; they must then show the model as it is by that time.
TEST_F(WindowTest, PagesNotYetShownGetTheirControlsWithTheModelsStateWhenShown) {
  Open();
  auto page = [this](const char* name) {
    const win32::NativeControl* n = window_->Find(name);
    return n ? n->hwnd : nullptr;
  };
  EXPECT_FALSE(page("TabSheet3")) << "an unseen main page exists already";
  EXPECT_FALSE(page("TabSheet9")) << "an unseen sub-page exists already";

  // The model changes while the controls do not exist.
  const std::wstring before = Caption("iCheckBox_2_1");
  form_.Click(Option("iCheckBox_2_1"));
  ASSERT_NE(Caption("iCheckBox_2_1"), before);
  form_.spinners[kHungAppSpinner].value = 42;
  window_->FormChanged();

  SelectPage("PageControl1", 2);
  HWND ie = page("TabSheet3");
  ASSERT_TRUE(ie && GetWindow(ie, GW_CHILD));
  EXPECT_TRUE(IsWindowVisible(ie));
  EXPECT_EQ(TextOf(Control("iCheckBox_2_1")), Caption("iCheckBox_2_1"));
  SelectPage("PageControl1", 0);
  SelectPage("PageControl2", 3);
  HWND hung = page("TabSheet9");
  ASSERT_TRUE(hung && GetWindow(hung, GW_CHILD));
  const win32::NativeControl* spinner = window_->Find("sSpinner4_1");
  ASSERT_TRUE(spinner);
  EXPECT_EQ(TextOf(spinner->hwnd), L"42");
  EXPECT_EQ(SendMessageW(spinner->buddy, UDM_GETPOS32, 0, 0), 42);
  EXPECT_EQ(form_.spinners[kHungAppSpinner].value, 42);

  // A page that holds pages shows its selected one at once, and pages made
  // late still paint without flicker.
  SelectPage("PageControl1", 1);
  HWND first = page("TabSheet12");
  ASSERT_TRUE(first);
  EXPECT_TRUE(IsWindowVisible(first));
  EXPECT_TRUE(IsWindowVisible(Control("pCheckBox_1_1")));
  SelectPage("PageControl3", 1);
  for (const char* name : {"PageControl3", "TabSheet12", "TabSheet13"}) {
    HWND hwnd = page(name);
    ASSERT_TRUE(hwnd) << name;
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_COMPOSITED) << name;
  }
}

TEST_F(WindowTest, OnlyTheFirstElevenOptionsAndSystemPagesStopTheCountdown) {
  Open();
  auto count = [this](const char* caption) {
    form_.countdownTimerEnabled = true;
    form_.captionOk = Utf8ToCp1251(caption);
    window_->FormChanged();
  };
  SelectPage("PageControl1", 1);
  count("Применить 5");
  EXPECT_EQ(TextOf(window_->OkButton()), W("Применить 5"));
  Click("pCheckBox_1_1");
  SelectPage("PageControl3", 1);
  EXPECT_EQ(TextOf(window_->OkButton()), W("Применить 5"));
  SelectPage("PageControl1", 0);
  EXPECT_EQ(TextOf(window_->OkButton()), W("Применить"));

  count("Применить 4");
  SelectPage("PageControl2", 2);
  EXPECT_EQ(TextOf(window_->OkButton()), W("Применить"));
  EXPECT_FALSE(form_.countdownTimerEnabled);

  SelectPage("PageControl2", 0);
  count("Применить 3");
  Click("sCheckBox_1_11");
  EXPECT_EQ(TextOf(window_->OkButton()), W("Применить"));
}

}  // namespace
}  // namespace kwetro::testing
