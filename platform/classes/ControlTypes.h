#pragma once
// Small enumerations the class library's standard controls share with the controls built on
// them: text alignment, the three states of a check box, the case of an edit's text and the
// place of a glyph on a button face. Names and order are the platform's.

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
