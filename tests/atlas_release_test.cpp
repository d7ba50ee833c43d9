// Pictures loaded again and again (a portrait each time a row menu opens)
// give their texture space back when their last handle goes.
#include "headless_fixture.hpp"
#include "platform/image_data.hpp"
#include "platform/pixmap.hpp"
#include "platform/texture_store.hpp"

using AtlasRelease = HeadlessTest;

TEST_F(AtlasRelease, PicturesLoadedOneAfterAnotherDoNotGrowTheAtlas) {
    struct Fall { int groesse; };
    // 100: a place in an atlas page; 360 (a portrait): a texture of its own.
    for (const Fall f : {Fall{100}, Fall{360}}) {
        TPixmap bild = CreatePixmap(f.groesse, f.groesse, 3, 4);
        TextureStore::Figures nachDemErsten;
        for (int i = 0; i < 40; ++i) {
            WritePixel(bild, 0, 0, 0xFF000000u | uint32_t(i));
            TImage image = LoadImageFrom(bild);
            ASSERT_TRUE(image);
            DrawImageAt(image, 0, 0);
            Flip(0);
            image.reset();
            if (i == 0) nachDemErsten = TextureStore::CurrentFigures();
        }
        const TextureStore::Figures danach = TextureStore::CurrentFigures();
        EXPECT_EQ(danach.pages, nachDemErsten.pages) << f.groesse;
        EXPECT_EQ(danach.rowsInUse, nachDemErsten.rowsInUse) << f.groesse;
        EXPECT_EQ(danach.placesInUse, nachDemErsten.placesInUse) << f.groesse;
        EXPECT_EQ(danach.standaloneTextures, nachDemErsten.standaloneTextures) << f.groesse;
    }
}

TEST_F(AtlasRelease, AReleasedPlaceIsReusedAndALiveOneIsKept) {
    TPixmap rot = CreatePixmap(50, 40, 3, 4), blau = CreatePixmap(50, 40, 3, 4);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x) WritePixel(rot, x, y, 0xFFFF0000u), WritePixel(blau, x, y, 0xFF0000FFu);
    TImage bleibt = LoadImageFrom(rot);
    TImage geht = LoadImageFrom(rot);
    const TexturePlace frei = geht->place;
    const uint64_t generation = TextureStore::ReleaseGeneration();
    geht.reset();
    EXPECT_GT(TextureStore::ReleaseGeneration(), generation) << "backends learn that a texture went";
    TImage neu = LoadImageFrom(blau);
    EXPECT_EQ(neu->place.texture, frei.texture);
    EXPECT_EQ(neu->place.x, frei.x);
    EXPECT_EQ(neu->place.y, frei.y);
    // The image that stayed still has its own pixels (premultiplied RGBA bytes).
    auto page = TextureStore::Find(bleibt->place.texture);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->pixels[size_t(bleibt->place.y + 5) * page->width + bleibt->place.x + 5], 0xFF0000FFu);
    EXPECT_EQ(page->pixels[size_t(neu->place.y + 5) * page->width + neu->place.x + 5], 0xFFFF0000u);
    EXPECT_NE(bleibt->place.x + 1000 * bleibt->place.y, neu->place.x + 1000 * neu->place.y);
}
