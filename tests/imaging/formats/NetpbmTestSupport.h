#pragma once
// netpbm as the outside reader and writer of PNM and WBMP: bytes run through a pipeline of its
// programs, and the plain (text) PNM form both sides are compared in.
#include <sstream>
#include <string>
#include <vector>

#include "tests/imaging/formats/FormatsTestSupport.h"

inline bool NetpbmPresent() {
  return ToolPresent("pnmtoplainpnm") && ToolPresent("pnmtopnm");
}

// Input fed to Commands (a shell pipeline); what the last program writes.
inline std::string NetpbmPipe(const std::vector<Byte>& Input, const std::string& Commands) {
  TTempFile File("netpbm.in");
  File.Write(Input);
  return ShellOutput("cat '" + File.Path() + "' | " + Commands + " 2>/dev/null");
}

inline std::vector<Byte> NetpbmPipe(const std::string& Input, const std::string& Commands) {
  const std::string Out = NetpbmPipe(std::vector<Byte>(Input.begin(), Input.end()), Commands);
  return {Out.begin(), Out.end()};
}

// A plain PNM: P1 (1 is black), P2 or P3, its size, maximum (1 for P1) and samples in file order.
struct TPlainPnm {
  std::string Magic;
  Integer Width = 0, Height = 0, Max = 1;
  std::vector<Integer> Samples;

  std::string Text() const {
    std::ostringstream Out;
    Out << Magic << "\n" << Width << " " << Height << "\n";
    if (Magic != "P1") Out << Max << "\n";
    for (const Integer S : Samples) Out << S << "\n";
    return Out.str();
  }
};

// P1 bits may come with or without blanks between them.
inline TPlainPnm ParsePlainPnm(const std::string& Text) {
  TPlainPnm P;
  std::istringstream In(Text);
  In >> P.Magic >> P.Width >> P.Height;
  if (P.Magic != "P1") In >> P.Max;
  if (P.Magic == "P1") {
    for (char C; In >> C;)
      if (C == '0' || C == '1') P.Samples.push_back(C - '0');
  } else {
    for (Integer S; In >> S;) P.Samples.push_back(S);
  }
  return P;
}
