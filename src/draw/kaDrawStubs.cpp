// Temporary definitions so that everything links; replaced piece by piece.
#include "draw/kaDraw.h"

plat::DisplayDevice* DDObject = nullptr;
plat::Surface16* DDFront = nullptr;
plat::Surface16* DDBack = nullptr;
void* DDClip = nullptr;
_getrgb GetRGB[65536];
kaDraw::_sprite Sprite[1024];
int kaDraw::Width{};
int kaDraw::Height{};
int kaDraw::ColorBit{};
int kaDraw::RetryColorBit1{};
int kaDraw::RetryColorBit2{};
int kaDraw::SearchVideoCard{};
int kaDraw::UseStretch{};
int kaDraw::ErrorCheck{};
int kaDraw::Vx1{};
int kaDraw::Vy1{};
int kaDraw::Vx2{};
int kaDraw::Vy2{};
plat::Rect kaDraw::RefreshSize{};
plat::Rect kaDraw::RefreshPos{};
uint32_t kaDraw::MaskR{};
uint32_t kaDraw::MaskG{};
uint32_t kaDraw::MaskB{};
uint32_t kaDraw::BitR{};
uint32_t kaDraw::BitG{};
uint32_t kaDraw::BitB{};
uint16_t kaDraw::ShiftR{};
uint16_t kaDraw::ShiftG{};
uint16_t kaDraw::ShiftB{};
uint16_t kaDraw::ShiftR2{};
uint16_t kaDraw::ShiftG2{};
uint16_t kaDraw::ShiftB2{};
uint32_t kaDraw::MaskRGB{};
uint32_t kaDraw::MaskRGB2{};
uint32_t kaDraw::WhiteRGB{};
int kaDraw::RotateData[450]{};
uint16_t kaDraw::BlendList[3][32][32][32]{};
uint16_t kaDraw::AddBlendList[3][32][32][32]{};
uint16_t kaDraw::DelBlendList[3][32][32]{};
uint16_t kaDraw::GrayList[96]{};
uint32_t kaDraw::FpsTime{};
int kaDraw::Screen(int, int, int) { return 0; }
void kaDraw::VirtualScreen(int, int, int, int) { }
void kaDraw::SetFullColor(int, int, int) { }
int kaDraw::Exit() { return 0; }
int kaDraw::Error(const char*, const char*, long) { return 0; }
int kaDraw::Error() { return 0; }
int kaDraw::ErrorExit() { return 0; }
uint32_t kaDraw::SpriteColor{};
int kaDraw::SpriteLeftTop{};
int kaDraw::LoadObject(const char*, int) { return 0; }
int kaDraw::CreateObject(int, int, int) { return 0; }
void kaDraw::FreeObject(int) { }
int kaDraw::SwapObject(const char*, int, int) { return 0; }
int kaDraw::SwapPack(const char*, int, int) { return 0; }
void kaDraw::ReloadObject() { }
void kaDraw::DestroyObject() { }
void kaDraw::SetSpriteColor(uint32_t) { }
void kaDraw::SetSpriteLeftTop() { }
void kaDraw::CopySpriteColor(int, int) { }
void kaDraw::ChangeSpriteColor(int, uint32_t) { }
void kaDraw::ChangeSpriteLeftTop(int) { }
void kaDraw::Layer(int, int, int, int, int, int, int) { }
void kaDraw::SpriteLayer(int, int, int, int, int, int, int, int) { }
void kaDraw::DirectLayer(int, int, int, int, int, int, int) { }
void kaDraw::DirectSpriteLayer(int, int, int, int, int, int, int, int) { }
void kaDraw::Clear() { }
void kaDraw::SpriteClear(int) { }
void kaDraw::ClearArea(int, int, int, int) { }
void kaDraw::ClearFrame(int, int, int, int) { }
void kaDraw::Flash() { }
void kaDraw::FlashArea(int, int, int, int) { }
void kaDraw::ColorFill(int, int, int, int, uint16_t) { }
int kaDraw::ColorBlend(int, int, int, int, uint16_t) { return 0; }
void kaDraw::Reverse(int, int, int, int) { }
void kaDraw::SpriteScreen(int, int, int, int, int) { }
int kaDraw::RefreshMode{};
int kaDraw::FadeNo{};
int kaDraw::FadeAdd{};
int kaDraw::FadeType{};
int kaDraw::FadeMax{};
int kaDraw::MaskBMP{};
int kaDraw::HelpOn{};
int kaDraw::HelpBMP[2]{};
int kaDraw::HelpSize{};
float kaDraw::HelpY{};
float kaDraw::HelpBackX{};
float kaDraw::HelpBackY{};
int kaDraw::EffectOn{};
int kaDraw::EffectInOut{};
int kaDraw::EffectType{};
int kaDraw::EffectSize{};
float kaDraw::EffectSpeed{};
int kaDraw::Wx1{};
int kaDraw::Wy1{};
int kaDraw::Wx2{};
int kaDraw::Wy2{};
int kaDraw::WipeIn{};
int kaDraw::WipeOut{};
void kaDraw::Refresh() { }
void kaDraw::SetRefreshMode(int) { }
void kaDraw::FadeOut() { }
void kaDraw::FadeIn() { }
void kaDraw::LoadMask(const char*) { }
void kaDraw::LoadHelp(const char*, const char*, int) { }
void kaDraw::Help() { }
int kaDraw::SetWipe(int, int, float, int) { return 0; }
void kaDraw::SetWipeOut() { }
int kaDraw::Wipe() { return 0; }
