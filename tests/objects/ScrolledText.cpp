#include "ScrolledText.h"

namespace {

template <class Part>
Part *AddPart(VORObject &parent, uint16_t code, int32_t id) {
  auto *part = new Part(VORObjectCode::MakeClassKey(1, code), id);
  parent.InsertAfter(part, nullptr);
  return part;
}

} // namespace

ScrolledText::ScrolledText(VORRecursiveObjectContainer &level, VORPlayerScrollbar *scrollbar) : bar(scrollbar) {
  text = new VORPlayerText(kTextCode.GetClassKey(), kTextCode.id);
  text->GetGraphicalProperties().layoutRect = VORRect(0, 0, 200, 100);
  VORText::VORTextProperties &properties = text->GetTextProperties();
  std::string rtf = "{\\rtf1 {\\id5 link} ";
  for (int i = 1; i <= 20; ++i)
    rtf += "line " + std::to_string(i) + (i < 20 ? "\\par " : "}");
  properties.rtfText = rtf;
  properties.scrollbar = kBarCode;
  properties.links.emplace_back(new VORText::VORHypertextLink());
  properties.links.back()->linkId = kLinkId;

  bar->GetGraphicalProperties().layoutRect = VORRect(200, 0, 220, 100);
  VORScrollbar::VORScrollbarProperties &parts = bar->GetScrollbarProperties();
  parts.target = kTextCode;
  parts.upButton = VORObjectCode(1, 2, 3);
  parts.downButton = VORObjectCode(1, 2, 4);
  parts.track = VORObjectCode(1, 7, 5);
  parts.thumb = VORObjectCode(1, 2, 6);
  up = AddPart<VORPlayerButton>(*bar, 2, 3);
  down = AddPart<VORPlayerButton>(*bar, 2, 4);
  track = AddPart<VORPlayerSimpleHotSpot>(*bar, 7, 5);
  thumb = AddPart<VORPlayerButton>(*bar, 2, 6);
  text->SetRect(text->GetGraphicalProperties().layoutRect);
  bar->SetRect(bar->GetGraphicalProperties().layoutRect);
  level.InsertAfter(text, nullptr);
  level.InsertAfter(bar, text);
}
