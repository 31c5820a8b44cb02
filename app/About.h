#pragma once
// The about box: the program's name, its version and the maker's web address over the about
// picture. Made once at start-up (owned by the application) and shown by the menu "About";
// a click on the picture hides it, a click on the address opens it.
#include "platform/classes/Forms.h"

class TImage;
class TLabel;

// The maker's home page, opened by the about box's link.
inline constexpr const char* MakerHomePage = "http://www.zor-software.example/";

class TForm5 : public TForm {
 public:
  explicit TForm5(TComponent* AOwner);

  void Hyperlink(TObject* Sender);
  void CloseForm(TObject* Sender);

  TImage* Image1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label2 = nullptr;
};

extern TForm5* Form5;
