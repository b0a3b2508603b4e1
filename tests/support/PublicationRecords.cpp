#include "support/PublicationRecords.h"

#include <algorithm>
#include <cstring>

#include "support/FakeRecordFile.h"

namespace PublicationRecords {

namespace {

std::vector<uint8_t> Uint32(uint32_t value) { return RecordBytes().Uint32(value).Take(); }
std::vector<uint8_t> Int32(int32_t value) { return Uint32(static_cast<uint32_t>(value)); }
std::vector<uint8_t> Byte(uint8_t value) { return RecordBytes().Byte(value).Take(); }
std::vector<uint8_t> Uint16(uint16_t value) { return RecordBytes().Uint16(value).Take(); }
std::vector<uint8_t> String(const std::string &text) { return RecordBytes().String(text.c_str()).Take(); }

std::vector<uint8_t> Reference(const VORObjectKey &reference) {
  uint8_t bytes[VORObjectKey::kSize];
  reference.ToBytes(bytes);
  return std::vector<uint8_t>(bytes, bytes + sizeof bytes);
}

void Append(std::vector<uint8_t> &out, const std::vector<uint8_t> &bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

// 16-bit count, then each password and its chapters ended by (0, 0, 0).
std::vector<uint8_t> PasswordList(const std::vector<Password> &passwords) {
  std::vector<uint8_t> bytes = Uint16(static_cast<uint16_t>(passwords.size()));
  for (const Password &password : passwords) {
    Append(bytes, String(password.text));
    for (const VORObjectKey &chapter : password.chapters)
      Append(bytes, Reference(chapter));
    Append(bytes, Reference(VORObjectKey{0, 0, 0}));
  }
  return bytes;
}

// 16-bit location kind, the name, the optional storage byte.
std::vector<uint8_t> Identifier(const ExternalIdentifier &identifier) {
  std::vector<uint8_t> bytes = Uint16(static_cast<uint16_t>(identifier.locationKind));
  Append(bytes, String(identifier.name));
  if (identifier.withStorage)
    bytes.push_back(identifier.storage);
  return bytes;
}

} // namespace

void AddRecord(PublicationWriter::Folder &folder, const std::vector<Field> &fields, size_t fieldCount) {
  const size_t count = std::min(fieldCount, fields.size());
  std::vector<uint8_t> data;
  for (size_t i = 0; i < count; ++i)
    if (!fields[i].ownFolder)
      Append(data, fields[i].bytes);
  folder.AddData(data);
  for (size_t i = 0; i < count; ++i) {
    if (!fields[i].ownFolder)
      continue;
    PublicationWriter::Folder &own = folder.AddAnonymousFolder();
    if (fields[i].fill)
      fields[i].fill(own);
    else
      own.AddData(fields[i].bytes);
  }
}

void ListedObject::AddTo(PublicationWriter::Folder &parent) const {
  PublicationWriter::Folder &folder = parent.AddFolder(reference, keyLength);
  if (!withoutRecord)
    folder.AddData(record);
  if (fill)
    fill(folder);
}

namespace {

constexpr uint16_t kActionCategory = 3;

ListedObject Trigger(uint16_t code, uint32_t id, std::vector<uint8_t> record) {
  return ListedObject{VORObjectKey{kActionCategory, code, id}, std::move(record)};
}

} // namespace

ListedObject MouseTrigger(uint32_t id, uint16_t mouseCode) { return Trigger(14, id, Uint16(mouseCode)); }

ListedObject KeyboardTrigger(uint32_t id, uint16_t keyCode) { return Trigger(15, id, Uint16(keyCode)); }

ListedObject DropTrigger(uint32_t id, const VORObjectKey &dropped) { return Trigger(16, id, Reference(dropped)); }

ListedObject SynchronizationTrigger(uint32_t id, int32_t syncCode, const VORObjectKey &sender) {
  std::vector<uint8_t> record = Int32(syncCode);
  Append(record, Reference(sender));
  return Trigger(17, id, record);
}

ListedObject AutoStartTrigger(uint32_t id) { return Trigger(22, id, {}); }

std::vector<uint8_t> ActionFields::Bytes() const {
  std::vector<uint8_t> bytes = Reference(target);
  Append(bytes, Int32(code));
  Append(bytes, Reference(originView));
  Append(bytes, Reference(originPage));
  if (withExtraWord)
    Append(bytes, Int32(extraWord));
  return bytes;
}

ListedObject Action(uint16_t classCode, uint32_t id, const ActionFields &fields, const std::vector<uint8_t> &own) {
  std::vector<uint8_t> record = fields.Bytes();
  Append(record, own);
  ListedObject action{VORObjectKey{kActionCategory, classCode, id}, record};
  action.keyLength = VORObjectKey::kClassSize;
  return action;
}

ListedObject QuitAction(uint32_t id) {
  constexpr int32_t kQuit = 103;
  ActionFields fields;
  fields.target = VORObjectKey{0, 0, 1};
  fields.code = kQuit;
  return Action(1, id, fields);
}

ListedObject GotoPageAction(uint32_t id, int32_t code, const VORObjectKey &page, const VORObjectKey &view,
                            std::optional<int32_t> extraWord) {
  ActionFields fields;
  fields.target = VORObjectKey{0, 0, 1};
  fields.code = code;
  fields.withExtraWord = extraWord.has_value();
  fields.extraWord = extraWord.value_or(0);
  std::vector<uint8_t> own = Reference(view);
  Append(own, Reference(page));
  return Action(3, id, fields, own);
}

ListedObject ScoreAction(uint32_t id, int32_t code, uint8_t correct, int32_t points, const std::string &question,
                         std::optional<int32_t> extraWord) {
  ActionFields fields;
  fields.target = VORObjectKey{0, 0, 4};
  fields.code = code;
  fields.withExtraWord = extraWord.has_value();
  fields.extraWord = extraWord.value_or(0);
  std::vector<uint8_t> own = Byte(correct);
  Append(own, Int32(points));
  Append(own, String(question));
  return Action(0x12, id, fields, own);
}

ListedObject BookmarkAction(uint32_t id, int32_t code, const VORObjectKey &page, std::optional<int32_t> extraWord) {
  ActionFields fields;
  fields.target = VORObjectKey{0, 0, 14};
  fields.code = code;
  fields.withExtraWord = extraWord.has_value();
  fields.extraWord = extraWord.value_or(0);
  return Action(0x18, id, fields, Reference(page));
}

ListedObject LaunchAction::Object() const {
  std::vector<uint8_t> own;
  for (const std::string *text : {&fileName, &second, &directory, &parameters, &fifth, &location})
    Append(own, String(*text));
  own.push_back(unusedByte);
  own.push_back(exitAfter);
  return Action(0x15, id, fields, own);
}

ListedObject PrinterAction::Object() const {
  std::vector<uint8_t> own = Reference(page);
  Append(own, Uint32(options));
  Append(own, String(fileName));
  const uint8_t optional[] = {nameOnly, inTemporaryFolder};
  for (size_t i = 0; i < optionalCount && i < sizeof optional; ++i)
    own.push_back(optional[i]);
  return Action(0x14, id, fields, own);
}

std::vector<uint8_t> SoundAction::Record() const {
  std::vector<std::vector<uint8_t>> own;
  switch (fields.code) {
  case 200:
    own = {Int32(start), Int32(end), Uint16(static_cast<uint16_t>(repeatCount))};
    break;
  case 201:
    own = {Int32(fadeTime), Byte(channels)};
    break;
  case 300:
    own = {Byte(relative), Uint16(static_cast<uint16_t>(volume)), Int32(fadeTime), Byte(channels)};
    break;
  default:
    break;
  }
  std::vector<uint8_t> record = fields.Bytes();
  for (size_t index = 0; index < own.size() && index < ownFieldCount; ++index)
    Append(record, own[index]);
  return record;
}

ListedObject SoundAction::Object() const {
  const std::vector<uint8_t> common = fields.Bytes();
  const std::vector<uint8_t> record = Record();
  return Action(4, id, fields,
                std::vector<uint8_t>(record.begin() + static_cast<std::ptrdiff_t>(common.size()), record.end()));
}

ListedObject BrowserAction::Object() const {
  std::vector<uint8_t> own = Byte(operation);
  Append(own, String(text));
  if (withResolveMode)
    own.push_back(resolveMode);
  return Action(0x19, id, fields, own);
}

ListedObject FrameStreamAction::Object() const {
  return Action(0x1A, id, fields, withParameter ? Int32(parameter) : std::vector<uint8_t>());
}

ListedObject StoreInfo::Object() const {
  std::vector<uint8_t> own = Byte(sourceKind);
  Append(own, String(text));
  Append(own, String(targetFile));
  Append(own, Byte(ask));
  Append(own, String(targetVariable));
  Append(own, Byte(replace));
  const uint8_t optional[] = {sourceTemporary, targetTemporary, sourceInVariable, targetInVariable};
  for (size_t i = 0; i < optionalCount && i < sizeof optional; ++i)
    own.push_back(optional[i]);
  return Action(0x13, id, fields, own);
}

std::vector<ListedObject> EveryActionKind(bool withExtraWord) {
  const int32_t extraWord = 7;
  const std::optional<int32_t> written = withExtraWord ? std::optional<int32_t>(extraWord) : std::nullopt;
  ActionFields plain{VORObjectKey{1, 2, 5}, 12};
  plain.withExtraWord = withExtraWord;
  plain.extraWord = extraWord;

  LaunchAction launch;
  launch.id = 4;
  launch.fileName = "readme.txt";
  launch.directory = "docs";
  launch.parameters = "/q";
  launch.location = "PUBDIR";
  launch.exitAfter = 1;

  PrinterAction printer;
  printer.id = 5;
  printer.options = 0x10000000;
  printer.fileName = "notes.txt";
  printer.nameOnly = 1;

  BrowserAction browser;
  browser.id = 6;
  browser.operation = 1;
  browser.text = "URL";
  browser.resolveMode = 2;

  FrameStreamAction frames;
  frames.id = 7;
  frames.parameter = 3;

  StoreInfo store;
  store.id = 9;
  store.sourceKind = 3;
  store.text = "SCORE_VALUE * 2";
  store.targetVariable = "doubled";
  store.replace = 1;
  store.sourceTemporary = 1;

  for (ActionFields *fields : {&launch.fields, &printer.fields, &browser.fields, &frames.fields, &store.fields}) {
    fields->withExtraWord = withExtraWord;
    fields->extraWord = extraWord;
  }
  std::vector<ListedObject> actions = {
      Action(1, 1, plain),
      GotoPageAction(2, 101, VORObjectKey{0, 4, 2}, VORObjectKey{0, 0, 6}, written),
      BookmarkAction(3, 950, VORObjectKey{0, 4, 1}, written),
      launch.Object(),
      printer.Object(),
      browser.Object(),
      frames.Object(),
      ScoreAction(8, 804, 1, 5, "q1", written),
      store.Object(),
  };
  return actions;
}

ListedObject Condition::Object() const {
  std::vector<uint8_t> record;
  if (withOperator) {
    record.push_back(op);
    if (withFlags)
      record.push_back(flags);
    Append(record, String(variable));
    Append(record, String(operand));
  }
  return ListedObject{VORObjectKey{kActionCategory, 0x17, id}, record};
}

ListedObject Event::Object() const {
  std::vector<uint8_t> record;
  for (uint32_t delay : delays)
    Append(record, Uint32(delay));
  ListedObject event{VORObjectKey{kActionCategory, 0, id}, record};
  const std::vector<ListedObject> listed = objects;
  event.fill = [listed](PublicationWriter::Folder &folder) {
    for (const ListedObject &object : listed)
      object.AddTo(folder);
  };
  return event;
}

void Events::AddListTo(PublicationWriter::Folder &folder) const {
  folder.AddData({});
  for (const ListedObject &event : list)
    event.AddTo(folder);
}

void Events::AddMapTo(PublicationWriter::Folder &folder) const {
  std::vector<uint8_t> data;
  for (uint16_t index : indexes)
    Append(data, Uint16(index));
  folder.AddData(data);
  for (const ListedObject &trigger : triggers)
    trigger.AddTo(folder);
}

std::vector<Field> PublicationProperties::Fields() const {
  std::vector<Field> fields = {
      {"title bar", Byte(titleBar)},
      {"title", String(title)},
      {"border", Int32(border)},
      {"x", Int32(x)},
      {"y", Int32(y)},
      {"width", Int32(width)},
      {"height", Int32(height)},
      {"change display mode", Byte(changeDisplayMode)},
      {"full screen", Byte(fullScreen)},
      {"window style", Uint32(windowStyle)},
      {"flags", Uint32(flags)},
      {"inactivity timeout", Int32(inactivityTimeout)},
      {"timeout page", Reference(timeoutPage)},
      {"closing page", Reference(closingPage)},
      {"closing delay", Int32(closingDelay)},
      {"exit password", String(exitPassword)},
      {"display mode", Byte(displayMode)},
      {"first external resource", Identifier(firstResource), true},
      {"second external resource", Identifier(secondResource), true},
      {"background colour", Uint32(backgroundColor)},
      {"character set", Uint16(characterSet)},
      {"passwords on", Byte(passwordsOn)},
  };
  if (passwordsOn) {
    fields.push_back({"password list", PasswordList(passwords)});
    fields.push_back({"refused-chapter page", Reference(refusedChapterPage)});
    fields.push_back({"ask user", Byte(askUser)});
  }
  return fields;
}

std::vector<Field> ChapterProperties::Fields() const {
  return {
      {"page width", Int32(pageWidth)},
      {"page height", Int32(pageHeight)},
      {"own window", Byte(ownWindow)},
      {"title bar", Byte(titleBar)},
      {"title", String(title)},
      {"border", Int32(border)},
      {"x", Int32(x)},
      {"y", Int32(y)},
      {"window width", Int32(windowWidth)},
      {"window height", Int32(windowHeight)},
      {"window style", Uint32(windowStyle)},
      {"keep aspect ratio", Byte(keepAspectRatio)},
  };
}

Field FXRecord::AsField(const std::string &label) const {
  constexpr uint16_t kFXCategory = 3;
  const VORObjectKey reference = code == 0 ? VORObjectKey::None() : VORObjectKey{kFXCategory, code, 0};
  std::vector<uint8_t> bytes = String(name);
  Append(bytes, Reference(reference));
  Field field{label, bytes, true};
  if (code != 0) {
    const std::vector<Field> written = fields;
    const size_t count = fieldCount;
    field.fill = [bytes, reference, written, count](PublicationWriter::Folder &f) {
      f.AddData(bytes);
      AddRecord(f.AddFolder(reference, VORObjectKey::kClassSize), written, count);
    };
  }
  return field;
}

std::vector<Field> FadeFXFields(uint16_t duration, uint16_t levels, uint32_t colour) {
  return {{"duration", Uint16(duration)}, {"levels", Uint16(levels)}, {"colour", Uint32(colour)}};
}

std::vector<Field> PixelFXFields(uint32_t duration, uint8_t mode) {
  return {{"duration", Uint32(duration)}, {"mode", Byte(mode)}};
}

std::vector<Field> BlindFXFields(uint16_t strips, uint8_t mode, uint16_t duration, uint8_t fixedPicture,
                                 uint8_t vertical) {
  return {{"strips", Uint16(strips)},
          {"mode", Byte(mode)},
          {"duration", Uint16(duration)},
          {"fixed picture", Byte(fixedPicture)},
          {"vertical", Byte(vertical)}};
}

std::vector<Field> BlockFXFields(int32_t columns, int32_t rows, uint32_t duration, uint8_t order) {
  return {{"columns", Int32(columns)}, {"rows", Int32(rows)}, {"duration", Uint32(duration)}, {"order", Byte(order)}};
}

std::vector<Field> ScrollFXFields(int32_t dx, int32_t dy, uint32_t duration, uint16_t wipe) {
  return {{"dx", Int32(dx)}, {"dy", Int32(dy)}, {"duration", Uint32(duration)}, {"wipe", Uint16(wipe)}};
}

std::vector<Field> SlideFXFields(int32_t dx, int32_t dy, uint32_t duration) {
  return {{"dx", Int32(dx)}, {"dy", Int32(dy)}, {"duration", Uint32(duration)}};
}

std::vector<Field> ShapeFXFields(uint8_t shape, int16_t starRatio, uint16_t sides, int32_t columns, int32_t rows,
                                 int32_t rotation, uint32_t duration) {
  return {{"shape", Byte(shape)},        {"star ratio", Uint16(static_cast<uint16_t>(starRatio))},
          {"sides", Uint16(sides)},      {"columns", Int32(columns)},
          {"rows", Int32(rows)},         {"rotation", Int32(rotation)},
          {"duration", Uint32(duration)}};
}

std::vector<Field> ZoomFXFields(uint32_t duration, uint8_t mode) {
  return {{"duration", Uint32(duration)}, {"mode", Byte(mode)}};
}

std::vector<Field> PageProperties::Fields() const {
  std::vector<Field> fields = {
      {"background colour", Uint32(backgroundColor)},
      {"left", Int32(left)},
      {"top", Int32(top)},
      {"right", Int32(right)},
      {"bottom", Int32(bottom)},
      {"title", String(title)},
      {"timed-page delay", Int32(timedPageDelay)},
  };
  if (timedPageDelay != -1)
    fields.push_back({"timed page", Reference(timedPage)});
  fields.push_back(enterTransition.AsField("enter transition"));
  fields.push_back(exitTransition.AsField("exit transition"));
  fields.push_back({"sound flags", Byte(soundFlags)});
  const Events written = events;
  fields.push_back({"event list", {}, true, [written](PublicationWriter::Folder &f) { written.AddListTo(f); }});
  fields.push_back({"event map", {}, true, [written](PublicationWriter::Folder &f) { written.AddMapTo(f); }});
  return fields;
}

void PageObject::AddTo(PublicationWriter::Folder &parent) const {
  PublicationWriter::Folder &folder = parent.AddFolder(reference);
  if (fields.empty())
    folder.AddData(record);
  else
    AddRecord(folder, fields, fieldCount);
  if (fill)
    fill(folder);
  for (const PageObject &child : children)
    child.AddTo(folder);
}

std::vector<uint8_t> TransitionBytes(const std::string &effectName) {
  std::vector<uint8_t> bytes = String(effectName);
  Append(bytes, Reference(VORObjectKey::None()));
  return bytes;
}

namespace {

// A 16-bit count, then the references.
std::vector<uint8_t> ReferenceList(const std::vector<VORObjectKey> &list) {
  std::vector<uint8_t> bytes = Uint16(static_cast<uint16_t>(list.size()));
  for (const VORObjectKey &reference : list)
    Append(bytes, Reference(reference));
  return bytes;
}

void AddEventFields(std::vector<Field> &fields, const Events &events) {
  const Events written = events;
  fields.push_back({"event list", {}, true, [written](PublicationWriter::Folder &f) { written.AddListTo(f); }});
  fields.push_back({"event map", {}, true, [written](PublicationWriter::Folder &f) { written.AddMapTo(f); }});
}

} // namespace

std::vector<Field> GraphicalRecord::Fields() const {
  std::vector<Field> fields = {
      {"leading flags", Byte(leadingFlags)},
      {"show transition", TransitionBytes(showEffect), true},
      {"hide transition", TransitionBytes(hideEffect), true},
  };
  AddEventFields(fields, events);
  const std::vector<Field> rest = {
      {"left", Int32(left)},
      {"top", Int32(top)},
      {"right", Int32(right)},
      {"bottom", Int32(bottom)},
      {"horizontal sizing", Byte(horizontalSizing)},
      {"vertical sizing", Byte(verticalSizing)},
      {"opacity", Uint16(opacity)},
      {"blend x", Int32(blendX)},
      {"blend y", Int32(blendY)},
      {"transparent colour", Byte(transparentColour)},
      {"show animation", Reference(showAnimation)},
      {"hide animation", Reference(hideAnimation)},
      {"path animation", Reference(pathAnimation)},
      {"visible at start", Byte(visibleAtStart)},
      {"show delay", Int32(showDelay)},
      {"shadow x", Int32(shadowX)},
      {"shadow y", Int32(shadowY)},
      {"shadow colour", Uint32(shadowColour)},
      {"shadow opacity", Uint16(shadowOpacity)},
      {"draggable", Byte(draggable)},
  };
  fields.insert(fields.end(), rest.begin(), rest.end());
  if (draggable != 0)
    fields.push_back({"glide back", Uint16(glideBack)});
  fields.push_back({"accepts drops", Byte(acceptsDrops)});
  fields.push_back({"linked resource", Reference(linkedResource)});
  fields.push_back({"accepted objects", ReferenceList(acceptedObjects)});
  fields.push_back({"drop targets", ReferenceList(dropTargets)});
  fields.push_back({"source left", Int32(sourceLeft)});
  fields.push_back({"source top", Int32(sourceTop)});
  fields.push_back({"source right", Int32(sourceRight)});
  fields.push_back({"source bottom", Int32(sourceBottom)});
  fields.push_back({"fit mode", Byte(fitMode)});
  fields.push_back({"transparency kind", Byte(transparencyKind)});
  if (transparencyKind == 1)
    fields.push_back({"key colour", Uint32(keyColour)});
  else if (transparencyKind == 2)
    fields.push_back({"key index", Byte(keyIndex)});
  fields.push_back({"keep aspect", Byte(keepAspect)});
  fields.push_back({"hide delay", Int32(hideDelay)});
  fields.push_back({"modal transition", Byte(modalTransition)});
  return fields;
}

std::vector<Field> HotSpotRecord::Fields() const {
  std::vector<Field> fields = graphical.Fields();
  fields.push_back({"pass-through flags", Byte(flags)});
  fields.push_back({"cursor", Identifier(cursor), true});
  fields.push_back({"pressed cursor", Identifier(pressedCursor), true});
  fields.push_back({"auto repeat", Byte(autoRepeat)});
  return fields;
}

PageObject ObjectWithFields(const VORObjectKey &reference, std::vector<Field> fields, size_t fieldCount,
                            std::vector<PageObject> children) {
  PageObject object;
  object.reference = reference;
  object.fields = std::move(fields);
  object.fieldCount = fieldCount;
  object.children = std::move(children);
  return object;
}

PageObject ExternalResourceObject(uint32_t id, const ExternalIdentifier &identifier,
                                  std::optional<int32_t> resourceType) {
  std::vector<Field> fields;
  AddEventFields(fields, Events{});
  fields.push_back({"identifier", Identifier(identifier), true});
  if (resourceType)
    fields.push_back({"resource type", Int32(*resourceType)});
  return ObjectWithFields(VORObjectKey{4, 0, id}, fields);
}

PageObject InternalResourceObject(uint32_t id, int32_t number, uint8_t kind) {
  std::vector<Field> fields;
  AddEventFields(fields, Events{});
  fields.push_back({"number", Int32(number)});
  fields.push_back({"kind", Byte(kind)});
  return ObjectWithFields(VORObjectKey{4, 1, id}, fields);
}

PageObject ImageObject(uint32_t id, const HotSpotRecord &record, std::vector<PageObject> children, uint16_t code) {
  return ObjectWithFields(VORObjectKey{1, code, id}, record.Fields(), SIZE_MAX, std::move(children));
}

PageObject PictureObject(uint32_t id, HotSpotRecord record, int32_t resourceNumber) {
  constexpr uint8_t kInternalPictureKind = 12;
  const uint32_t resourceObjectId = id + 1;
  record.graphical.linkedResource = VORObjectKey{4, 1, resourceObjectId};
  return ImageObject(id, record, {InternalResourceObject(resourceObjectId, resourceNumber, kInternalPictureKind)});
}

// ---- Buttons, simple hotspots and frames ----
std::vector<Field> ButtonRecord::Fields() const {
  std::vector<Field> fields = hotSpot.Fields();
  fields.push_back({"button flags", Uint16(buttonFlags)});
  fields.push_back({"normal picture", Reference(normalImage)});
  fields.push_back({"pressed picture", Reference(pressedImage)});
  fields.push_back({"highlighted picture", Reference(highlightImage)});
  fields.push_back({"face colour", Uint32(faceColor)});
  fields.push_back({"light colour", Uint32(lightColor)});
  fields.push_back({"dark colour", Uint32(darkColor)});
  fields.push_back({"bevel width", Uint16(bevelWidth)});
  return fields;
}

PageObject ButtonObject(uint32_t id, const ButtonRecord &record, std::vector<PageObject> children) {
  return ObjectWithFields(VORObjectKey{1, 2, id}, record.Fields(), SIZE_MAX, std::move(children));
}

// ---- Videos ----
std::vector<Field> VideoRecord::Fields() const {
  std::vector<Field> fields = hotSpot.Fields();
  fields.push_back({"video flags", Uint16(videoFlags)});
  fields.push_back({"repeat count", Uint16(static_cast<uint16_t>(repeatCount))});
  fields.push_back({"key colour", Uint32(keyColor)});
  fields.push_back({"no sound", Byte(noSound)});
  return fields;
}

PageObject VideoObject(uint32_t id, const VideoRecord &record, std::vector<PageObject> children, size_t fieldCount) {
  return ObjectWithFields(VORObjectKey{1, 5, id}, record.Fields(), fieldCount, std::move(children));
}

PageObject AviVideoObject(uint32_t id, VideoRecord record, const std::string &fileName) {
  constexpr int32_t kAviKind = 6;
  constexpr int32_t kPublicationFolder = 1;
  const uint32_t resourceObjectId = id + 1;
  record.hotSpot.graphical.linkedResource = VORObjectKey{4, 0, resourceObjectId};
  // The identifier's storage byte is the file's kind.
  return VideoObject(id, record,
                     {ExternalResourceObject(resourceObjectId, {kPublicationFolder, fileName, true, kAviKind})});
}

ListedObject VideoAction(uint32_t id, const ActionFields &fields, int32_t first, int32_t second) {
  std::vector<uint8_t> own = Int32(first);
  Append(own, Int32(second));
  return Action(5, id, fields, own);
}

PageObject SimpleHotSpotObject(uint32_t id, const HotSpotRecord &record) {
  return ObjectWithFields(VORObjectKey{1, 7, id}, record.Fields());
}

PageObject FrameObject(uint32_t id, const HotSpotRecord &record, std::vector<PageObject> children) {
  return ObjectWithFields(VORObjectKey{1, 1, id}, record.Fields(), SIZE_MAX, std::move(children));
}

// ---- Slideshows ----
std::vector<Field> SlideshowRecord::Fields() const {
  std::vector<Field> fields = hotSpot.Fields();
  fields.push_back({"slide flags", Uint16(slideFlags)});
  fields.push_back({"repeat count", Uint16(static_cast<uint16_t>(repeatCount))});
  fields.push_back({"slide count", Uint16(countOverride ? *countOverride : static_cast<uint16_t>(slides.size()))});
  for (size_t i = 0; i < slides.size(); ++i)
    fields.push_back({"delay " + std::to_string(i), Uint32(slides[i].delay)});
  for (size_t i = 0; i < slides.size(); ++i)
    fields.push_back({"slide " + std::to_string(i), Reference(slides[i].reference)});
  for (size_t i = 0; i < slides.size(); ++i)
    fields.push_back(slides[i].transition.AsField("transition " + std::to_string(i)));
  return fields;
}

PageObject SlideshowObject(uint32_t id, const SlideshowRecord &record, std::vector<PageObject> children) {
  return ObjectWithFields(VORObjectKey{1, 8, id}, record.Fields(), SIZE_MAX, std::move(children));
}

void Publication::AddTo(PublicationWriter &writer) const {
  PublicationWriter::Folder &root = writer.AddEntry(kRootEntry);
  PublicationWriter::Folder &folder = root.AddFolder(reference, VORObjectKey::kClassSize);

  std::vector<uint8_t> data;
  if (withColourDepth)
    Append(data, Int32(colourDepth));
  if (withTextResolution)
    Append(data, Int32(textResolution));
  folder.AddData(data);

  if (colourDepth == 8) {
    std::vector<uint8_t> colours =
        Uint32(static_cast<uint32_t>(paletteCount < 0 ? static_cast<int64_t>(palette.size()) : paletteCount));
    for (const PaletteEntry &entry : palette)
      Append(colours, {entry.blue, entry.green, entry.red, entry.reserved});
    folder.AddAnonymousFolder().AddData(colours);
  }

  std::vector<uint8_t> search =
      Uint32(static_cast<uint32_t>(dictionarySize < 0 ? static_cast<int64_t>(dictionary.size()) : dictionarySize));
  Append(search, dictionary);
  folder.AddAnonymousFolder().AddData(search);
  folder.AddAnonymousFolder().AddData(Byte(oleContainer));
  AddRecord(folder.AddAnonymousFolder(), properties.Fields(), propertyFieldCount);

  for (const Chapter &chapter : chapters) {
    PublicationWriter::Folder &chapterFolder = folder.AddFolder(chapter.reference);
    if (!chapter.withoutProperties)
      AddRecord(chapterFolder.AddAnonymousFolder(), chapter.properties.Fields(), chapter.propertyFieldCount);
    for (const Page &page : chapter.pages) {
      PublicationWriter::Folder &pageFolder = chapterFolder.AddFolder(page.reference);
      if (page.withoutRecord)
        continue;
      AddRecord(pageFolder, page.properties.Fields(), page.propertyFieldCount);
      for (const PageObject &object : page.objects)
        object.AddTo(pageFolder);
    }
    if (!chapter.trailingBytes.empty())
      chapterFolder.AddRaw(chapter.trailingBytes);
  }
  for (const auto &[number, bytes] : internalResources)
    writer.AddEntry(number).AddData(bytes);
}

std::vector<uint8_t> Publication::Bytes(uint32_t version) const {
  PublicationWriter writer(version);
  AddTo(writer);
  return writer.Bytes();
}

std::string FileText(const Publication &publication, uint32_t version) {
  const std::vector<uint8_t> bytes = publication.Bytes(version);
  return std::string(bytes.begin(), bytes.end());
}

Page ColouredPage(uint32_t id, uint32_t colour, int32_t width, int32_t height) {
  Page page(VORObjectKey{0, 4, id});
  page.properties.backgroundColor = colour;
  page.properties.right = width;
  page.properties.bottom = height;
  return page;
}

Publication SmallPagesInAWindow(const std::string &title, uint32_t flags, std::vector<Page> pages) {
  Publication publication;
  auto &properties = publication.properties;
  properties.title = title;
  properties.titleBar = 1;
  properties.border = 2;
  properties.width = 400;
  properties.height = 300;
  properties.fullScreen = 0;
  properties.flags = flags;
  Chapter chapter;
  chapter.properties.pageWidth = 200;
  chapter.properties.pageHeight = 100;
  chapter.pages = std::move(pages);
  publication.chapters = {chapter};
  return publication;
}

std::vector<Field> BackgroundRecord::Fields() const {
  std::vector<Field> fields = graphical.Fields();
  fields.push_back({"fill kind", Byte(fillKind)});
  if (fillKind == 1 || fillKind == 2)
    fields.push_back({"colour 1", Uint32(colour1)});
  if (fillKind == 2) {
    fields.push_back({"colour 2", Uint32(colour2)});
    fields.push_back({"direction", Byte(direction)});
  }
  return fields;
}

PageObject BackgroundObject(uint32_t id, const BackgroundRecord &record, std::vector<PageObject> children) {
  return ObjectWithFields(VORObjectKey{1, 0, id}, record.Fields(), SIZE_MAX, std::move(children));
}

std::vector<Field> BorderRecord::Fields() const {
  std::vector<Field> fields = graphical.Fields();
  fields.push_back({"border style", Byte(style)});
  fields.push_back({"width", Uint16(static_cast<uint16_t>(width))});
  fields.push_back({"corner radius", Uint16(static_cast<uint16_t>(radius))});
  fields.push_back({"colour 1", Uint32(colour1)});
  fields.push_back({"colour 2", Uint32(colour2)});
  fields.push_back({"border opacity", Uint16(opacity)});
  fields.push_back({"border image", Reference(image)});
  return fields;
}

PageObject BorderObject(uint32_t id, const BorderRecord &record, std::vector<PageObject> children) {
  return ObjectWithFields(VORObjectKey{1, 9, id}, record.Fields(), SIZE_MAX, std::move(children));
}

std::vector<Field> BrowserRecord::Fields() const {
  std::vector<Field> fields = graphical.Fields();
  fields.push_back({"navigate on show", Byte(navigateOnShow)});
  fields.push_back({"start address", String(startUrl)});
  fields.push_back({"ask to connect", Byte(askToConnect)});
  fields.push_back({"frame", Byte(frame)});
  fields.push_back({"status band", Byte(statusBand)});
  fields.push_back({"resolve mode", Byte(resolveMode)});
  fields.push_back({"system browser fallback", Byte(systemBrowserFallback)});
  return fields;
}

PageObject BrowserObject(uint32_t id, const BrowserRecord &record, size_t fieldCount) {
  return ObjectWithFields(VORObjectKey{1, 0x11, id}, record.Fields(), fieldCount, {});
}

std::vector<Field> SoundRecord::Fields() const {
  std::vector<Field> fields;
  AddEventFields(fields, events);
  fields.push_back({"flags", Byte(flags)});
  fields.push_back({"repeat count", Uint16(static_cast<uint16_t>(repeatCount))});
  fields.push_back({"start", Int32(start)});
  fields.push_back({"end", Int32(end)});
  fields.push_back({"volume", Uint16(static_cast<uint16_t>(volume))});
  fields.push_back({"fade-in time", Int32(fadeInTime)});
  fields.push_back({"fade-out time", Int32(fadeOutTime)});
  return fields;
}

PageObject SoundObject(uint16_t code, uint32_t id, const SoundRecord &record, std::vector<PageObject> children,
                       size_t fieldCount) {
  return ObjectWithFields(VORObjectKey{2, code, id}, record.Fields(), fieldCount, std::move(children));
}

std::vector<Field> AnimationControllerRecord::Fields() const {
  std::vector<Field> fields;
  AddEventFields(fields, events);
  fields.push_back({"path entry count", Uint32(pathCount.value_or(static_cast<uint32_t>(path.size())))});
  for (size_t i = 0; i < path.size(); ++i) {
    std::vector<uint8_t> bytes = Int32(path[i].x);
    for (const std::vector<uint8_t> &part : {Int32(path[i].y), Uint16(path[i].duration), Uint16(path[i].value)})
      bytes.insert(bytes.end(), part.begin(), part.end());
    fields.push_back({"path entry " + std::to_string(i), bytes});
  }
  fields.push_back({"kind", Byte(kind)});
  fields.push_back({"speed", Uint16(static_cast<uint16_t>(speed))});
  fields.push_back({"entry angle", Uint16(static_cast<uint16_t>(entryAngle))});
  fields.push_back({"exit angle", Uint16(static_cast<uint16_t>(exitAngle))});
  fields.push_back({"edge-hit limit", Uint16(static_cast<uint16_t>(edgeHitLimit))});
  fields.push_back({"entry time", Uint16(entryTime)});
  fields.push_back({"exit time", Uint16(exitTime)});
  return fields;
}

PageObject AnimationControllerObject(uint32_t id, const AnimationControllerRecord &record, size_t fieldCount) {
  return ObjectWithFields(VORObjectKey{0, 9, id}, record.Fields(), fieldCount);
}

// ---- Text objects ----

std::vector<uint8_t> TextStyleRecord::Bytes() const {
  std::vector<uint8_t> bytes;
  Append(bytes, Uint32(mask));
  Append(bytes, Uint32(flags));
  if (mask & 0x20)
    Append(bytes, String(face));
  const std::pair<uint32_t, uint32_t> values[] = {
      {0x40, static_cast<uint32_t>(size)}, {0x80, textColour}, {0x100, backgroundColour}, {0x200, shadowColour}};
  for (const auto &[bit, value] : values)
    if (mask & bit)
      Append(bytes, Uint32(value));
  if (mask & 0x400) {
    Append(bytes, Uint32(static_cast<uint32_t>(tagIds.size())));
    for (int32_t id : tagIds)
      Append(bytes, Int32(id));
  }
  const std::pair<uint32_t, int32_t> paragraph[] = {
      {0x800, alignment}, {0x1000, spacing}, {0x8000, firstIndent}, {0x2000, leftIndent}, {0x4000, rightIndent}};
  for (const auto &[bit, value] : paragraph)
    if (mask & bit)
      Append(bytes, Int32(value));
  if (mask & 0x20000)
    Append(bytes, Uint32(0));
  return bytes;
}

std::vector<Field> TextRecord::Fields() const {
  std::vector<Field> fields = hotSpot.Fields();
  if (hotSpot.graphical.leadingFlags != 0)
    return fields;
  fields.push_back({"rtf text", String(rtf)});
  fields.push_back({"vertical alignment", Byte(verticalAlignment)});
  fields.push_back({"text flags", Uint32(textFlags)});
  fields.push_back({"tab width", Int32(tabWidth)});
  fields.push_back({"shadow x", Int32(shadowX)});
  fields.push_back({"shadow y", Int32(shadowY)});
  fields.push_back({"default style", defaultStyle.Bytes()});
  fields.push_back({"highlight style", highlightStyle.Bytes()});
  std::vector<uint8_t> segments =
      Uint32(static_cast<uint32_t>(segmentCount < 0 ? static_cast<int64_t>(segmentTags.size()) : segmentCount));
  for (int32_t tag : segmentTags)
    Append(segments, Int32(tag));
  for (uint32_t end : segmentEnds)
    Append(segments, Uint32(end));
  fields.push_back({"segments", segments});
  fields.push_back({"read-along sound", Reference(sound)});
  fields.push_back({"input flags", Uint32(inputFlags)});
  if (inputFlags & 0x1) {
    fields.push_back({"input variable", String(inputVariable)});
    fields.push_back({"maximum length", Uint32(maxLength)});
  }
  const int64_t count = linkCount < 0 ? static_cast<int64_t>(links.size()) : linkCount;
  std::vector<uint8_t> linkBytes = Uint32(static_cast<uint32_t>(count));
  if (count != 0)
    for (const TextStyleRecord &style : linkStyles)
      Append(linkBytes, style.Bytes());
  fields.push_back({"links", linkBytes});
  for (const TextLinkRecord &link : links) {
    fields.push_back({"link id", Int32(link.id)});
    const Events events = link.events;
    fields.push_back({"link events", {}, true, [events](PublicationWriter::Folder &f) { events.AddListTo(f); }});
  }
  fields.push_back({"scrollbar", Reference(scrollbar)});
  fields.push_back({"external text", Reference(externalText)});
  fields.push_back({"further reference", Reference(further)});
  for (const TextLinkRecord &link : links) {
    const Events events = link.events;
    fields.push_back({"link event map", {}, true, [events](PublicationWriter::Folder &f) { events.AddMapTo(f); }});
  }
  fields.push_back({"scroll mode", Byte(scrollMode)});
  fields.push_back({"smooth text", Byte(smoothText)});
  return fields;
}

PageObject TextObject(uint32_t id, const TextRecord &record, size_t fieldCount, std::vector<PageObject> children) {
  return ObjectWithFields(VORObjectKey{1, 4, id}, record.Fields(), fieldCount, std::move(children));
}

} // namespace PublicationRecords

namespace PublicationRecords {

namespace {

// An IEEE double, little-endian.
std::vector<uint8_t> Double(double value) {
  uint64_t bits = 0;
  static_assert(sizeof bits == sizeof value, "an 8-byte double");
  std::memcpy(&bits, &value, sizeof bits);
  std::vector<uint8_t> bytes;
  for (int shift = 0; shift < 64; shift += 8)
    bytes.push_back(static_cast<uint8_t>(bits >> shift));
  return bytes;
}

} // namespace

// ---- Scrollbars ----
std::vector<Field> ScrollbarRecord::Fields() const {
  std::vector<Field> fields;
  fields.push_back({"target", Reference(target)});
  fields.push_back({"auto layout", Uint32(autoLayout)});
  fields.push_back({"up button", Reference(upButton)});
  fields.push_back({"down button", Reference(downButton)});
  if (fileVersion <= kLastVersionWithDroppedReferences) {
    std::vector<uint8_t> dropped;
    for (uint32_t i = 1; i <= 4; ++i)
      Append(dropped, Reference(VORObjectKey{1, 0x7E, i}));
    fields.push_back({"dropped references", dropped});
  }
  fields.push_back({"thumb", Reference(thumb)});
  fields.push_back({"track", Reference(track)});
  fields.push_back({"thumb size", Double(thumbSize)});
  fields.push_back({"position", Double(position)});
  fields.push_back({"frame", Byte(frame)});
  fields.push_back({"proportional thumb", Byte(proportionalThumb)});
  for (Field &field : hotSpot.Fields())
    fields.push_back(std::move(field));
  return fields;
}

PageObject ScrollbarObject(uint32_t id, const ScrollbarRecord &record, std::vector<PageObject> children,
                           size_t fieldCount) {
  return ObjectWithFields(VORObjectKey{1, 0x10, id}, record.Fields(), fieldCount, std::move(children));
}

ListedObject ScrollbarAction::Object() const {
  const std::vector<std::vector<uint8_t>> own = {Uint16(kind), Uint16(second), Double(position), Double(size)};
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < own.size() && i < ownFieldCount; ++i)
    Append(bytes, own[i]);
  return Action(0xD, id, fields, bytes);
}

} // namespace PublicationRecords
