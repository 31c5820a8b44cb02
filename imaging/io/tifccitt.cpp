// The run-length and mode code tables of fax coding, and the decode trees built from them.
#include <string_view>

#include "imaging/io/tifccittcodes.h"

namespace ccitt {
namespace {

// A code written as its bits, "0" and "1", most significant first.
constexpr CCITTCodeEntry Code(std::string_view Bits, Integer Run) {
  Cardinal Value = 0;
  for (char Bit : Bits) Value = (Value << 1) | (Bit == '1' ? 1u : 0u);
  return {static_cast<Integer>(Bits.size()), static_cast<Word>(Value), Run};
}

constexpr std::string_view WhiteTerminating[64] = {
    "00110101", "000111",   "0111",     "1000",     "1011",     "1100",     "1110",     "1111",
    "10011",    "10100",    "00111",    "01000",    "001000",   "000011",   "110100",   "110101",
    "101010",   "101011",   "0100111",  "0001100",  "0001000",  "0010111",  "0000011",  "0000100",
    "0101000",  "0101011",  "0010011",  "0100100",  "0011000",  "00000010", "00000011", "00011010",
    "00011011", "00010010", "00010011", "00010100", "00010101", "00010110", "00010111", "00101000",
    "00101001", "00101010", "00101011", "00101100", "00101101", "00000100", "00000101", "00001010",
    "00001011", "01010010", "01010011", "01010100", "01010101", "00100100", "00100101", "01011000",
    "01011001", "01011010", "01011011", "01001010", "01001011", "00110010", "00110011", "00110100",
};

// Runs 64 .. 1728 in steps of 64.
constexpr std::string_view WhiteMakeUp[27] = {
    "11011",     "10010",     "010111",    "0110111",   "00110110",  "00110111",  "01100100",
    "01100101",  "01101000",  "01100111",  "011001100", "011001101", "011010010", "011010011",
    "011010100", "011010101", "011010110", "011010111", "011011000", "011011001", "011011010",
    "011011011", "010011000", "010011001", "010011010", "011000",    "010011011",
};

constexpr std::string_view BlackTerminating[64] = {
    "0000110111",   "010",          "11",           "10",           "011",          "0011",
    "0010",         "00011",        "000101",       "000100",       "0000100",      "0000101",
    "0000111",      "00000100",     "00000111",     "000011000",    "0000010111",   "0000011000",
    "0000001000",   "00001100111",  "00001101000",  "00001101100",  "00000110111",  "00000101000",
    "00000010111",  "00000011000",  "000011001010", "000011001011", "000011001100", "000011001101",
    "000001101000", "000001101001", "000001101010", "000001101011", "000011010010", "000011010011",
    "000011010100", "000011010101", "000011010110", "000011010111", "000001101100", "000001101101",
    "000011011010", "000011011011", "000001010100", "000001010101", "000001010110", "000001010111",
    "000001100100", "000001100101", "000001010010", "000001010011", "000000100100", "000000110111",
    "000000111000", "000000100111", "000000101000", "000001011000", "000001011001", "000000101011",
    "000000101100", "000001011010", "000001100110", "000001100111",
};

constexpr std::string_view BlackMakeUp[27] = {
    "0000001111",    "000011001000",  "000011001001",  "000001011011",  "000000110011",  "000000110100",
    "000000110101",  "0000001101100", "0000001101101", "0000001001010", "0000001001011", "0000001001100",
    "0000001001101", "0000001110010", "0000001110011", "0000001110100", "0000001110101", "0000001110110",
    "0000001110111", "0000001010010", "0000001010011", "0000001010100", "0000001010101", "0000001011010",
    "0000001011011", "0000001100100", "0000001100101",
};

// Runs 1792 .. 2560 in steps of 64, the same for both colours.
constexpr std::string_view ExtendedMakeUp[13] = {
    "00000001000",  "00000001100",  "00000001101",  "000000010010", "000000010011",
    "000000010100", "000000010101", "000000010110", "000000010111", "000000011100",
    "000000011101", "000000011110", "000000011111",
};

constexpr TRunCodes MakeRunCodes(const std::string_view (&Terminating)[64],
                                 const std::string_view (&MakeUp)[27]) {
  TRunCodes Codes{};
  for (Integer I = 0; I < 64; ++I) Codes[I] = Code(Terminating[I], I);
  for (Integer I = 0; I < 27; ++I) Codes[64 + I] = Code(MakeUp[I], (I + 1) * 64);
  for (Integer I = 0; I < 13; ++I) Codes[91 + I] = Code(ExtendedMakeUp[I], (I + 28) * 64);
  Codes[EolIndex] = Code("000000000001", EolRun);
  Codes[105] = Code("000000001", -1);
  Codes[106] = Code("0000000001", -1);
  Codes[107] = Code("00000000001", -1);
  // An EOL behind 1 to 20 further zero bits, so that fill before an EOL needs no special case.
  for (Integer Zeros = 1; Zeros <= 20; ++Zeros) Codes[107 + Zeros] = {12 + Zeros, 1, EolRun};
  return Codes;
}

CCITTTreeNode WhiteRoot;
CCITTTreeNode BlackRoot;

void BuildTree(CCITTTreeNode& Root, const TRunCodes& Codes) {
  for (Integer Index = 0; Index < RunCodeCount; ++Index) {
    const CCITTCodeEntry& Entry = Codes[Index];
    CCITTTreeNode* Node = &Root;
    for (Integer Bit = Entry.Length - 1; Bit >= 0; --Bit) {
      std::unique_ptr<CCITTTreeNode>& Child =
          ((Cardinal{Entry.Code} >> Bit) & 1) ? Node->Child1 : Node->Child0;
      if (!Child) Child = std::make_unique<CCITTTreeNode>();
      Node->Value = InnerNode;
      Node = Child.get();
    }
    Node->Value = Index;
  }
}

void FreeTree(CCITTTreeNode& Root) {
  Root.Child0.reset();
  Root.Child1.reset();
  Root.Value = InnerNode;
}

}  // namespace

constinit const TRunCodes WhiteCodes = MakeRunCodes(WhiteTerminating, WhiteMakeUp);
constinit const TRunCodes BlackCodes = MakeRunCodes(BlackTerminating, BlackMakeUp);

constinit const std::array<CCITTCodeEntry, ModeCount> ModeCodes = {
    Code("000000000000", 0), Code("0001", 0),    Code("001", 0),        Code("0000010", -3),
    Code("000010", -2),      Code("010", -1),    Code("1", 0),          Code("011", 1),
    Code("000011", 2),       Code("0000011", 3), Code("0000001111", 0), Code("000000001111", 0),
    Code("000000000001", 0),
};

const CCITTTreeNode& DecodeTree(bool Black) {
  return Black ? BlackRoot : WhiteRoot;
}

}  // namespace ccitt

void CCITTInitialize() {
  ccitt::FreeTree(ccitt::WhiteRoot);
  ccitt::FreeTree(ccitt::BlackRoot);
  ccitt::BuildTree(ccitt::WhiteRoot, ccitt::WhiteCodes);
  ccitt::BuildTree(ccitt::BlackRoot, ccitt::BlackCodes);
}

void CCITTFinalize() {
  ccitt::FreeTree(ccitt::WhiteRoot);
  ccitt::FreeTree(ccitt::BlackRoot);
}
