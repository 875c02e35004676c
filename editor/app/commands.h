#pragma once

namespace orvi {

// Every command identifier of the editor: the main menu, the two keys without a menu item, the
// text window's and the Ruby Table's pop-up menus and the Verification menu. All of them reach
// MainWindow::Dispatch.
enum class Command : int {
  // File
  New = 57600,
  Open = 57601,
  Save = 57603,
  SaveAs = 40014,
  ImportFromFile = 40061,
  ImportFromClipboard = 40062,
  AutoDetect = 40094,
  Export = 40027,
  Exit = 40016,
  // Edit
  Copy = 57634,
  Paste = 57637,
  Cut = 57635,
  MultipleSelect = 40034,
  BatchFill = 40021,
  RubyMode = 40029,
  CtrlLock = 40032,
  ExternalEditor = 40069,
  // Search
  AdvFind = 40039,
  FindNext = 40040,
  GoTo = 40045,
  // Phonic
  Notate = 40086,
  ScopeFullText = 40088,
  ScopeSelected = 40089,
  ModeAuto = 40090,
  ModeSemiAuto = 40091,
  ModeManual = 40092,
  AutoHint = 40075,
  // Format
  Font = 40009,
  Encoding = 40023,
  // View
  Verify = 40067,
  RubyTable = 40010,
  StatusBar = 40005,
  AlwaysOnTop = 40057,
  // Help
  OnlineManual = 40072,
  VersionHistory = 40037,
  About = 40024,
  // Keys without a menu item
  DeleteAnnotation = 40070,
  PronounceAnnotation = 40071,
  // "Text Window Menu"
  TextUndo = 40038,
  TextCut = 40036,
  TextCopy = 40006,
  TextPaste = 40026,
  TextSelectAll = 40044,
  TextDelete = 40033,
  TextPronunce = 40028,
  // "List Window Menu"
  ListDelete = 40030,
  ListClear = 40035,
  ListPronunce = 40031,
  // "Verification"
  VerifyEnd = 40068,
};

}  // namespace orvi
