#include "platform/error.h"

namespace platform {

std::string errorText(int number) {
    switch (number) {
        case 5: return "无效的过程调用或参数";
        case 6: return "溢出";
        case 7: return "内存溢出";
        case 9: return "下标越界";
        case 13: return "类型不匹配";
        case 52: return "文件名或文件号错误";
        case 53: return "文件未找到";
        case 57: return "设备 I/O 错误";
        case 58: return "文件已存在";
        case 61: return "磁盘已满";
        case 68: return "设备不可用";
        case 70: return "没有权限";
        case 71: return "磁盘未准备好";
        case 75: return "路径/文件访问错误";
        case 76: return "路径未找到";
        case 380: return "无效的属性值";
        case 481: return "无效的图片";
        case 35601: return "元素没找到";
        case 35602: return "关键字不唯一";
        case 35603: return "无效关键字";
        case 35605: return "控件已被删除";
        default: return "应用程序定义的错误或对象定义的错误";
    }
}

Error::Error(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

Error::Error(int number) : Error(number, errorText(number)) {}

void raise(int number) { throw Error(number); }
void raise(int number, std::string description) { throw Error(number, std::move(description)); }

}  // namespace platform
