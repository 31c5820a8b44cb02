#include "skin/data/bsSkinDataNames.h"

namespace {

constexpr TbsSkinNameList C = TbsSkinNameList::Controls;
constexpr TbsSkinNameList O = TbsSkinNameList::Objects;
constexpr TbsSkinNameList S = TbsSkinNameList::Section;

constexpr TbsRequiredSkinName Names[] = {
    // Sections read once per skin (FORMINFO comes with its frame mask).
    {"FORMINFO", S, ""},
    {"POPUPWINDOW", S, ""},
    {"HINTWINDOW", S, ""},
    {"SKINCOLORS", S, ""},
    {"LAYERFRAME", S, ""},
    // The frame: caption, caption buttons by command (close 0, maximize 1, minimize 2,
    // system menu 3, roll-up 5, to tray 6), menu items and the menu bar's objects.
    {"caption", O, "caption"},
    {"closebutton", O, "stdbutton"},
    {"maxbutton", O, "stdbutton"},
    {"minbutton", O, "stdbutton"},
    {"sysmenubutton", O, "stdbutton"},
    {"rollupbutton", O, "stdbutton"},
    {"traybutton", O, "stdbutton"},
    {"menuitem", O, "menuitem"},
    {"menubaritem", O, "mainmenubaritem"},
    {"mdiclosebutton", O, "mainmenubarbutton"},
    {"mdimaxbutton", O, "mainmenubarbutton"},
    {"mdiminbutton", O, "mainmenubarbutton"},
    {"mdisysmenubutton", O, "mainmenubarbutton"},
    // Buttons: push, edit, combo, tool bar and menu faces.
    {"button", C, "button"},
    {"editbutton", C, "button"},
    {"combobutton", C, "button"},
    {"resizebutton", C, "button"},
    {"resizetoolbutton", C, "button"},
    {"toolbutton", C, "button"},
    {"bigtoolbutton", C, "button"},
    {"menuitembutton", C, "button"},
    {"officequickbutton", C, "button"},
    {"officeribbonbutton", C, "button"},
    {"officemenubutton", C, "button"},
    {"toolmenubutton", C, "menubutton"},
    {"toolmenutrackbutton", C, "menubutton"},
    {"bigtoolmenubutton", C, "menubutton"},
    {"bigtoolmenutrackbutton", C, "menubutton"},
    // Panels and bars.
    {"panel", C, "panel"},
    {"groupbox", C, "panel"},
    {"toolpanel", C, "panel"},
    {"resizetoolpanel", C, "panel"},
    {"bigtoolpanel", C, "panel"},
    {"statusbar", C, "panel"},
    // Check and radio boxes, gauges, track bars.
    {"checkbox", C, "checkradio"},
    {"radiobox", C, "checkradio"},
    {"gauge", C, "gauge"},
    {"vgauge", C, "gauge"},
    {"htrackbar", C, "trackbar"},
    {"trackbar", C, "trackbar"},
    // Labels.
    {"label", C, "label"},
    {"statuspanel", C, "label"},
    {"menuheader", C, "label"},
    {"stdlabel", C, "stdlabel"},
    // Scroll bars and splitters.
    {"hscrollbar", C, "scrollbar"},
    {"vscrollbar", C, "scrollbar"},
    {"bothhscrollbar", C, "scrollbar"},
    {"hsplitter", C, "splitter"},
    {"vsplitter", C, "splitter"},
    // Views, lists and combos.
    {"treeview", C, "treeview"},
    {"listview", C, "listview"},
    {"listbox", C, "listbox"},
    {"combobox", C, "combobox"},
    // Edits and up-downs.
    {"edit", C, "edit"},
    {"buttonedit", C, "edit"},
    {"memo", C, "memo"},
    {"spinedit", C, "spinedit"},
    {"hupdown", C, "updown"},
    {"vupdown", C, "updown"},
    {"scrollbox", C, "scrollbox"},
    // Tabs, menu bar, application menu and bevel.
    {"tab", C, "tab"},
    {"officetab", C, "tab"},
    {"mainmenubar", C, "mainmenubar"},
    {"appmenu", C, "appmenu"},
    {"bevel", C, "bevel"},
};

}  // namespace

std::span<const TbsRequiredSkinName> RequiredSkinNames() {
  return Names;
}
