// The thumbnail cache's rules: where a formation's thumbnail lies and the keys that keep it valid.
#include "cli/thumbnailcache.h"
#include "testkit/common.h"

namespace ksn::thumbcache {
namespace {

TEST(ThumbnailCache, RootFollowsXdgCacheHomeElseHome) {
    const struct {
        const char* xdg;
        const char* home;
        const char* root;
    } cases[] = {{"/srv/cache", "/home/u", "/srv/cache/thumbnails"},
                 {"/srv/cache/", "/home/u", "/srv/cache/thumbnails"},
                 {"", "/home/u", "/home/u/.cache/thumbnails"},
                 {"relative/cache", "/home/u", "/home/u/.cache/thumbnails"},
                 {"", "home", ""}};
    for (const auto& c : cases) EXPECT_EQ(root(q(c.xdg), q(c.home)), q(c.root)) << c.xdg << " | " << c.home;
}

// The names file managers compute: MD5 of the percent-encoded file URI (the MD5s from md5sum).
TEST(ThumbnailCache, UriAndFileNameAreTheFileManagersOwn) {
    const struct {
        const char* path;
        const char* uri;
        const char* name;
    } cases[] = {
        {"/home/u/Trains/KAMOTSU.KSN", "file:///home/u/Trains/KAMOTSU.KSN", "631f1da55bd7b1153bc69191dfe55cb1.png"},
        {"/home/u/列車/特急.KSN", "file:///home/u/%E5%88%97%E8%BB%8A/%E7%89%B9%E6%80%A5.KSN",
         "b6e98ae009f68aa477ed8943de9e5fc4.png"},
        {"/home/u/./x/../b.KSN", "file:///home/u/b.KSN", "07ce877338d5eb06cf11e4b72a05915d.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::pair(uri(q(c.path)), fileName(q(c.uri))), std::pair(q(c.uri), q(c.name)));
}

}  // namespace
}  // namespace ksn::thumbcache
