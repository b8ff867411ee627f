<!DOCTYPE html>
<html lang="vi">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Tiện ích</title>
<style>
body { margin: 0; font-family: "Liberation Sans", Arial, sans-serif; color: #564a4b; background: #f7f3ef; }
header { background: #993333; color: #fff; padding: 8px 12px; font-weight: bold; font-size: 15px; }
section { background: #fff; margin: 10px; padding: 8px 12px; border: 1px solid #dddddd; }
h2 { color: #993333; font-size: 16px; margin: 2px 0 8px; }
table { width: 100%; border-collapse: collapse; font-size: 14px; }
th, td { padding: 4px 2px; border-bottom: 1px solid #eee; text-align: left; }
td.n, th.n { text-align: right; }
.up { color: #2a7f2a; } .down { color: #c0392b; }
.note { font-size: 12px; color: #9b928d; margin-top: 6px; }
.prize { font-weight: bold; color: #c0392b; font-size: 18px; }
</style>
</head>
<body>
<header>Vemo <span style="font-weight:normal">| Tiện ích</span></header>

<section id="thoi-tiet">
<h2>Thời tiết hôm nay</h2>
<table>
<tr><th>Thành phố</th><th>Trời</th><th class="n">Nhiệt độ</th></tr>
<tr><td>Hà Nội</td><td>Nhiều mây, rét</td><td class="n">12 – 17°C</td></tr>
<tr><td>Hải Phòng</td><td>Có mưa nhỏ</td><td class="n">13 – 18°C</td></tr>
<tr><td>Đà Nẵng</td><td>Mưa rào</td><td class="n">19 – 23°C</td></tr>
<tr><td>Đà Lạt</td><td>Sương mù buổi sáng</td><td class="n">11 – 21°C</td></tr>
<tr><td>TP Hồ Chí Minh</td><td>Nắng nhẹ</td><td class="n">23 – 32°C</td></tr>
<tr><td>Cần Thơ</td><td>Nắng</td><td class="n">24 – 31°C</td></tr>
</table>
<p class="note">Nguồn: Trung tâm Dự báo Khí tượng Thủy văn. Cập nhật 06:00.</p>
</section>

<section id="ty-gia">
<h2>Tỷ giá ngoại tệ</h2>
<table>
<tr><th>Ngoại tệ</th><th class="n">Mua</th><th class="n">Bán</th></tr>
<tr><td>USD</td><td class="n">20.828</td><td class="n">20.868</td></tr>
<tr><td>EUR</td><td class="n">26.935</td><td class="n">27.483</td></tr>
<tr><td>JPY</td><td class="n">265,12</td><td class="n">270,47</td></tr>
<tr><td>GBP</td><td class="n">32.125</td><td class="n">32.781</td></tr>
<tr><td>AUD</td><td class="n">21.046</td><td class="n">21.476</td></tr>
<tr><td>SGD</td><td class="n">15.960</td><td class="n">16.287</td></tr>
<tr><td>CNY</td><td class="n">3.253</td><td class="n">3.335</td></tr>
</table>
<p class="note">Đơn vị: đồng. Tỷ giá tham khảo tại ngân hàng thương mại.</p>
</section>

<section id="gia-vang">
<h2>Giá vàng</h2>
<table>
<tr><th>Loại</th><th class="n">Mua</th><th class="n">Bán</th><th class="n">+/-</th></tr>
<tr><td>Vàng miếng SJC</td><td class="n">41,85</td><td class="n">42,05</td><td class="n up">+0,15</td></tr>
<tr><td>Vàng nhẫn 99,99</td><td class="n">41,20</td><td class="n">41,70</td><td class="n up">+0,10</td></tr>
<tr><td>Vàng trang sức 18K</td><td class="n">30,12</td><td class="n">31,42</td><td class="n down">-0,05</td></tr>
</table>
<p class="note">Đơn vị: triệu đồng/lượng.</p>
</section>

<section id="xo-so">
<h2>Kết quả xổ số miền Bắc</h2>
<table>
<tr><td>Giải đặc biệt</td><td class="n prize">58213</td></tr>
<tr><td>Giải nhất</td><td class="n">70496</td></tr>
<tr><td>Giải nhì</td><td class="n">31780 – 06254</td></tr>
<tr><td>Giải ba</td><td class="n">91327 – 44015 – 62938</td></tr>
<tr><td>Giải bảy</td><td class="n">18 – 75 – 04 – 63</td></tr>
</table>
</section>

<section id="lich">
<h2>Lịch vạn niên</h2>
<p>Dương lịch: Thứ bảy, 31/12/2011<br>Âm lịch: Mùng 7 tháng 12 năm Tân Mão<br>Ngày Bính Ngọ, tháng Canh Tý</p>
</section>

<section id="chung-khoan">
<h2>Chứng khoán</h2>
<table>
<tr><th>Chỉ số</th><th class="n">Điểm</th><th class="n">+/-</th></tr>
<tr><td>VN-Index</td><td class="n">351,55</td><td class="n down">-2,14</td></tr>
<tr><td>HNX-Index</td><td class="n">58,74</td><td class="n up">+0,36</td></tr>
</table>
</section>
</body>
</html>
