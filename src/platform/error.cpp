#include "platform/error.h"

namespace platform {

std::string errorText(int number) {
    switch (number) {
        case err::InvalidCall:
            return "无效的过程调用或参数";
        case err::Overflow:
            return "溢出";
        case err::OutOfMemory:
            return "内存溢出";
        case err::SubscriptOutOfRange:
            return "下标越界";
        case err::TypeMismatch:
            return "类型不匹配";
        case err::BadFileName:
            return "文件名或文件号错误";
        case err::FileNotFound:
            return "文件未找到";
        case err::DeviceIO:
            return "设备 I/O 错误";
        case err::FileExists:
            return "文件已存在";
        case err::DiskFull:
            return "磁盘已满";
        case err::InputPastEnd:
            return "输入超出文件尾";
        case err::DeviceUnavailable:
            return "设备不可用";
        case err::PermissionDenied:
            return "没有权限";
        case err::DiskNotReady:
            return "磁盘未准备好";
        case err::PathFileAccess:
            return "路径/文件访问错误";
        case err::PathNotFound:
            return "路径未找到";
        case err::InvalidPropertyValue:
            return "无效的属性值";
        case err::InvalidPropertyArrayIndex:
            return "无效的属性数组索引";
        case err::InvalidPicture:
            return "无效的图片";
        case err::IndexOutOfBounds:
            return "索引超出范围";
        case err::ElementNotFound:
            return "元素没找到";
        case err::KeyNotUnique:
            return "关键字不唯一";
        case err::InvalidKey:
            return "无效关键字";
        case err::ControlDeleted:
            return "控件已被删除";
        case err::Unspecified:
            return "未指定的错误";
        default:
            return "应用程序定义的错误或对象定义的错误";
    }
}

Error::Error(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

Error::Error(int number) : Error(number, errorText(number)) {}

void raise(int number) { throw Error(number); }
void raise(int number, std::string description) { throw Error(number, std::move(description)); }

}  // namespace platform
