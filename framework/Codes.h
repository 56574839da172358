// The platform's numeric codes, named once for declarations and the layer alike. A declared
// property that takes a code accepts only a value of its own code set, so a declaration cannot
// hand a text alignment to a field or a bare number to a window's kind.
#pragma once

// What kind of window a declaration makes.
enum class Frame {
  Document = 0,
  MovableModal = 1,
  ModalDialog = 2,
  Floating = 3,
  PlainBox = 4,
  ShadowedBox = 5,
  Rounded = 6,
  GlobalFloating = 7,
  Sheet = 8,
};

// Where a window is first placed.
enum class Placement {
  Default = 0,       // where the window system puts it
  Parent = 1,        // centred on the frontmost window
  MainScreen = 2,    // centred on the main screen
  ParentScreen = 3,  // centred on the frontmost window's screen
  Stagger = 4,       // where the window system puts it
};

enum class TimerMode {
  Off = 0,
  Single = 1,
  Multiple = 2,
};

// A label's TextAlign.
enum class TextAlign {
  Left = 0,
  Center = 1,
  Right = 2,
};

// A field's Alignment: the field's own code set, which starts with "default".
enum class FieldAlign {
  Default = 0,
  Left = 1,
  Center = 2,
  Right = 3,
};

// The code set's name, used in messages and to tell code sets apart.
template <class E>
struct CodeSet;
template <>
struct CodeSet<Frame> {
  static constexpr const char* kName = "Frame";
};
template <>
struct CodeSet<Placement> {
  static constexpr const char* kName = "Placement";
};
template <>
struct CodeSet<TimerMode> {
  static constexpr const char* kName = "TimerMode";
};
template <>
struct CodeSet<TextAlign> {
  static constexpr const char* kName = "TextAlign";
};
template <>
struct CodeSet<FieldAlign> {
  static constexpr const char* kName = "FieldAlign";
};

template <class E>
concept NamedCode = requires {
  CodeSet<E>::kName;
};
