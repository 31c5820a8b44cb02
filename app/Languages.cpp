#include "app/Languages.h"

#include <span>

#include "app/Main.h"
#include "skin/controls/bsSkinCtrls.h"

TTextTable InterfaceTexts;
TTextTable VariableTexts;
std::array<std::array<std::string, 6>, 10> ParamLabels;

namespace {
struct TTextDefault {
  Integer Index;
  const char* Text;
};

// The captions the main window is made with.
constexpr TTextDefault InterfaceDefaults[] = {
    {1, "Font"},
    {2, "Load mask"},
    {3, "Load picture"},
    {4, "Update mosaic"},
    {5, "Load glass picture"},
    {6, "Submit"},
    {8, "Save result"},
    {9, "Erase"},
    {10, "Apply mask"},
    {11, "Tube shade"},
    {12, "Automatic anti-aliasing"},
    {13, "Auto-update pattern"},
    {14, "Automatic save"},
    {15, "Blending"},
    {16, "Show picture area"},
    {17, "Use pattern colors"},
    {19, "Clip edges"},
    {20, "Glass effect"},
    {21, "Show grid"},
    {22, "Keep shape"},
    {23, "Wire frame only"},
    {25, "White rim"},
    {26, "Show preview"},
    {27, "Trial run"},
    {28, "Use text"},
    {29, "White grid"},
    {30, "Grid size"},
    {31, "Language"},
    {32, "Source picture"},
    {33, "Pattern"},
    {35, "Options"},
    {36, "Effects"},
    {37, "Parameters"},
    {38, "Multiplier"},
    {39, "Mask"},
    {40, "Glass effect"},
    {41, "Text pattern"},
    {42, "Kaleidoscope control"},
    {43, "Video"},
    {44, "Frame"},
    {45, "Result"},
    {46, "Line"},
    {47, "Color"},
    {48, "Blend"},
    {49, "Deformation"},
    {50, "About"},
    {51, "Circular"},
    {52, "Extra"},
    {53, "Glass picture"},
    {54, "Help"},
    {55, "Hexagons"},
    {56, "Kaleidoscope"},
    {57, "Load"},
    {58, "Mask"},
    {59, "Monthly"},
    {60, "Off"},
    {61, "Pattern"},
    {62, "Pinch and blow"},
    {63, "Save result"},
    {64, "Script"},
    {65, "Source picture"},
    {66, "Spheres"},
    {67, "Spirograph"},
    {68, "Tube (horizontal)"},
    {69, "Tube (vertical)"},
    {70, "Twirling spiral"},
    {71, "Automatic update"},
    {72, "Update now !"},
    {73, "Weekly"},
    {74, "Pinch and blow"},
    {75, "Kaleidoscope colors"},
    {76, "Kaleidoscope pattern"},
    {77, "Free drawing"},
    {78, "Free drawing control"},
    {80, "Reload"},
    {81, "Load script"},
    {82, "Mosaic"},
    {83, "Effects"},
    {84, "Video"},
    {86, "Windows"},
    {87, "Show video player"},
    {88, "Skin"},
};

constexpr TTextDefault VariableDefaults[] = {
    {1, "Creating grid"},
    {2, "Matching colors"},
    {3, "Creating shade"},
    {4, "Creating video"},
    {5, "Cancel"},
    {6, "Frames completed"},
    {7, "Warning: No source picture available."},
    {8, "Please select other size."},
    {9, "Size"},
    {10, "Ready"},
    {11, "Creating pinch"},
    {12, "Creating circles"},
    {13, "Creating twirls"},
    {14, "Creating hexagons"},
    {15, "Creating ver cylinder"},
    {16, "Creating hor cylinder"},
    {17, "Creating spheres"},
    {18, "Creating spirograph"},
    {19, "Blending background"},
    {20, "Resizing"},
    {21, "Version"},
    {22, "Update was cancelled by the user."},
    {23, "No files were downloaded."},
    {24, "Update files were successfully saved."},
    {25, "in directory ../Tilvarok/Updates."},
    {26, "Create video"},
    {27, "Type pattern"},
    {28, "none"},
    {30, "Deformation"},
    {31, "Pattern"},
    {32, "Horizontal shift"},
    {33, "Vertical shift"},
    {34, "Symmetry"},
    {35, "No. of spirals"},
    {36, "No. of circles"},
    {37, "Randomness"},
    {38, "Size ratio"},
    {39, "Boost"},
    {40, "Shade"},
    {41, "Coverage"},
    {42, "Size Varation"},
    {43, "Accuracy"},
    {44, "Outer radius"},
    {45, "Inner radius"},
    {46, "Off-set"},
    {47, "Rounds"},
    {48, "Angularity"},
};

// The variable texts naming each pattern type's sliders P1..P6 (0: no label).
constexpr Integer ParamTextNumbers[10][6] = {
    {30, 0, 0, 0, 0, 0},   {9, 31, 32, 33, 34, 0}, {30, 35, 32, 33, 36, 0}, {9, 37, 38, 0, 0, 0},
    {30, 39, 40, 0, 0, 0}, {30, 39, 40, 0, 0, 0},  {9, 41, 42, 43, 0, 0},   {44, 45, 46, 47, 48, 9},
    {0, 0, 0, 0, 0, 0},    {0, 0, 0, 0, 0, 0}};

void Apply(TTextTable& Table, std::span<const TTextDefault> Defaults) {
  for (const TTextDefault& D : Defaults) Table[D.Index] = D.Text;
}
}  // namespace

void SetDefaultTexts() {
  Apply(VariableTexts, VariableDefaults);
}

void SetDefaultInterfaceTexts() {
  InterfaceTexts.fill(std::string());
  Apply(InterfaceTexts, InterfaceDefaults);
}

void PadCaptions() {
  for (Integer I : {32, 33, 35, 36, 37, 39, 40, 41, 42, 43, 45})
    InterfaceTexts[I] = " " + InterfaceTexts[I] + " ";
  for (Integer I = 1; I <= 20; ++I)
    if (I <= 4 || I >= 11) VariableTexts[I] += "...";
  for (Integer I = 10; I <= 29; ++I) InterfaceTexts[I] = " " + InterfaceTexts[I];
  for (Integer I : {75, 76}) InterfaceTexts[I] = " " + InterfaceTexts[I];
}

void BuildParamLabels() {
  for (Integer T = 0; T < 10; ++T)
    for (Integer P = 0; P < 6; ++P) {
      const Integer K = ParamTextNumbers[T][P];
      ParamLabels[T][P] = K == 0 ? std::string() : VariableTexts[K];
    }
}

void ApplyVariableTexts() {
  if (Form1 != nullptr) {
    Form1->SetStatusText(VariableTexts[10]);
    Form1->Label2->SetCaption(VariableTexts[27] + ": <" + VariableTexts[28] + ">");
    Form1->Label13->SetCaption(VariableTexts[9] + ": 0 x 0");
  }
  BuildParamLabels();
}
