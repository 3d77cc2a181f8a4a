#include "mainwindow/about.h"

namespace mainwindow {

std::string AboutText() {
    // Lines end in CR LF; the blanks at the ends of lines are part of the layout.
    const std::string crlf = "\r\n";
    std::string text;
    text += "Kestrova - Version 1.0    ";
    text += crlf + "" + crlf;
    text += "       《望岳》 ";
    text += crlf;
    text += "岱宗夫如何，齐鲁青未了。 ";
    text += crlf;
    text += "造化钟神秀，阴阳割昏晓。 ";
    text += crlf;
    text += "荡胸生层云，决眦入归鸟。 ";
    text += crlf;
    text += "会当凌绝顶，一览众山小。 ";
    text += crlf + "" + crlf;
    text += "特别鸣谢：[Brasko团队]";
    text += crlf;
    text += std::string(13, ' ');
    text += crlf;
    text += "E-mail:quenly.studio@example.com ";
    text += crlf + "" + crlf;
    text += "【勇气|专业|坚持|挑战】";
    text += crlf + "" + crlf;
    return text;
}

}  // namespace mainwindow
