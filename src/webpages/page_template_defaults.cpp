#include "webpages/page_template_defaults.h"

namespace webpages {

namespace {

// Part C around the quoted home-page address.
constexpr std::string_view PartCBeforeAddress =
    R"tpl(</tbody></table><br><table width="100%"><tr><td align="left" width="33.3%"><font size="2" color="#0000ff"></font></td><td align="middle" width="33.3%"><font size="2" color="#0000ff"></font></td><td align="right" width="33.3%"><a href=)tpl";
constexpr std::string_view PartCAfterAddress =
    R"tpl( target=_blank><font size="2" color="#0000ff">Zelbrin网页版制作</font></a></td></tr></table></body></html>)tpl";

}  // namespace

const std::string_view DefaultPartA =
    R"tpl(<html><head><meta http-equiv="Content-Language" content="en-us"><meta http-equiv="Content-Type" content="text/html; charset=gb2312"><title>Zelbrin网页版制作</title></head><body bgColor="#ffffff"><table class="p1table" bgcolor="#ffffff" border="1" borderColorDark="#ffffff" borderColorLight="#2c52a0" cellPadding="1" cellSpacing="0" width="100%" ><tbody>)tpl";

const std::string_view DefaultTextBlock =
    R"tpl(<table class="p01htmltext11" width="100%"><tr><td class="p02htmltext11" align="middle" width="100%"><span class="p03htmltext11"><font size="2" color="#0000ff">Zelbrin网页版制作</font></span></td></tr></table><br>)tpl";

const std::string_view DefaultHeaderRow =
    R"tpl(<tr class="p2htmltext11" bgColor="#2c52a0"><td height="10" vAlign="top" Align="middle" width="100%" colspan="3" ><span class="p3htmltext11"><font color="#FFFFFF">&nbsp;</font></span></td></tr>)tpl";

const std::string_view DefaultPartB =
    R"tpl(<tr><td height="10"><font color="#ff0000">Zelbrin文件名</font></td><td height="10">Zelbrin文件大小&nbsp;</td><td height="10"><font color="#ff0000">Zelbrin文件备注&nbsp;</font></td></tr>)tpl";

std::string defaultPartC(std::string_view homePageAddress) {
    std::string text(PartCBeforeAddress);
    text += '"';
    text += homePageAddress;
    text += '"';
    text += PartCAfterAddress;
    return text;
}

}  // namespace webpages
