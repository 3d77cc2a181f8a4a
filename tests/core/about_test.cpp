#include "mainwindow/about.h"

#include <gtest/gtest.h>

TEST(About, IsThePoemBetweenTheVersionAndTheMotto) {
    EXPECT_EQ(mainwindow::kAboutTitle + mainwindow::AboutText(),
              "Quenly作品Kestrova - Version 1.0    \r\n\r\n       《望岳》 \r\n"
              "岱宗夫如何，齐鲁青未了。 \r\n造化钟神秀，阴阳割昏晓。 \r\n"
              "荡胸生层云，决眦入归鸟。 \r\n会当凌绝顶，一览众山小。 \r\n\r\n"
              "特别鸣谢：[Brasko团队]\r\n             \r\n"
              "E-mail:quenly.studio@example.com \r\n\r\n【勇气|专业|坚持|挑战】\r\n\r\n");
}
