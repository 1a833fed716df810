document.write("<a><img alt='12回 x'></a>");
document.write("<img alt='3回'>");
