
namespace {

TEST(ScrollbarClassTableTest, TheTableMakesScrollbarsAndTheirActions) {
  const uint32_t bar = VORObjectCode::MakeClassKey(VORScrollbar::kCategory, VORScrollbar::kCode);
  std::unique_ptr<VORCodedObject> made(VORClassRegistry::Instance().Create(bar, 3));
  ASSERT_NE(dynamic_cast<VORPlayerScrollbar *>(made.get()), nullptr);
  EXPECT_EQ(made->GetClassKey(), bar);
  const uint32_t action = VORScrollbarObjectAction::kClassKey;
  made.reset(VORClassRegistry::Instance().Create(action, 4));
  ASSERT_NE(dynamic_cast<VORScrollbarObjectAction *>(made.get()), nullptr);
  EXPECT_EQ(made->GetId(), 4);
}

} // namespace
